vur_e2e_test(NAME installer SCRIPT test_installer.py VERSIONS win98 winxp TIMEOUT 400)

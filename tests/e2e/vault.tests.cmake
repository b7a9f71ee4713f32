vur_e2e_test(NAME vault SCRIPT test_vault.py VERSIONS win98 winxp TIMEOUT 300)

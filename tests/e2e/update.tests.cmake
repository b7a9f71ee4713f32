vur_e2e_test(NAME update SCRIPT test_update.py VERSIONS win98 winxp LOCKS association TIMEOUT 420)

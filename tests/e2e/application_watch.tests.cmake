vur_e2e_test(NAME application_watch SCRIPT test_application_watch.py VERSIONS win98 winxp TIMEOUT 400)

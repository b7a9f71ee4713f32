vur_e2e_test(NAME scanner SCRIPT test_scanner.py VERSIONS win98 winxp TIMEOUT 420)

# "association": the help link is checked through a recorder set as the .htm program (see startcenter.tests.cmake).
vur_e2e_test(NAME scanner SCRIPT test_scanner.py VERSIONS win98 winxp LOCKS association TIMEOUT 420)
vur_e2e_test(NAME scanner_engines SCRIPT test_scanner_engines.py VERSIONS winxp TIMEOUT 1200)

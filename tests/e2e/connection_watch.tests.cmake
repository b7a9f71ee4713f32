vur_e2e_test(NAME connection_watch SCRIPT test_connection_watch.py VERSIONS win98 nt40 win2k winxp)

# The e2e tests: each script runs in a fresh prefix of every Windows version it names.
vur_e2e_test(NAME vurconf SCRIPT test_vurconf.py VERSIONS win98 winxp)

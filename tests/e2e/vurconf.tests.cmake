vur_e2e_test(NAME vurconf SCRIPT test_vurconf.py VERSIONS win98 winxp)

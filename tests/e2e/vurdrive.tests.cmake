vur_e2e_test(NAME vurdrive SCRIPT test_vurdrive.py VERSIONS win98 winxp)

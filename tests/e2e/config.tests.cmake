vur_e2e_test(NAME config SCRIPT test_config.py VERSIONS win98 winxp TIMEOUT 300)

vur_e2e_test(NAME http SCRIPT test_http_client.py VERSIONS win98 winxp TIMEOUT 240)

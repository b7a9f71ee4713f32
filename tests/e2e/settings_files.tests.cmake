vur_e2e_test(NAME settings_files SCRIPT test_settings_files.py VERSIONS win98 winxp)

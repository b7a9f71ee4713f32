# "association": the test points the prefix's .htm association at a recorder for a while (Wine 8 has no
# per-user classes), which every test relying on that association must not see.
vur_e2e_test(NAME startcenter SCRIPT test_startcenter.py VERSIONS win98 winxp LOCKS association)

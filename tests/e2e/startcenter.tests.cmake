vur_e2e_test(NAME startcenter SCRIPT test_startcenter.py VERSIONS win98 winxp)
# Locks: "display" for every test that shows windows, moves the mouse or reads screen pixels, since all tests
# share one Xvfb screen; "association_<version>" because the test points the prefix's .htm association at a recorder for a
# while (Wine 8 has no per-user classes), which every test relying on that association must not see.
foreach(version win98 winxp)
  set_tests_properties(e2e.startcenter.${version} PROPERTIES RESOURCE_LOCK "display;association_${version}")
endforeach()

vur_e2e_test(NAME vurdrive SCRIPT test_vurdrive.py VERSIONS win98 winxp)
# It shows a message box on the shared Xvfb screen.
foreach(version win98 winxp)
  set_tests_properties(e2e.vurdrive.${version} PROPERTIES RESOURCE_LOCK display)
endforeach()

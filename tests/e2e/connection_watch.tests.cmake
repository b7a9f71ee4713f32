# The connection watch end to end needs the monitor and a host that loads it in dist; until both are built
# the script stays unregistered.
if(EXISTS ${VUR_DIST_DIR}/watch.dll AND EXISTS ${VUR_DIST_DIR}/fast.exe)
  vur_e2e_test(NAME connection_watch SCRIPT test_connection_watch.py VERSIONS win98 nt40 win2k winxp)
endif()

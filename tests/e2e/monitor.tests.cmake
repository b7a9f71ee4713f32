vur_e2e_test(NAME monitor_autostart SCRIPT test_monitor_autostart.py VERSIONS win98 winxp)
vur_e2e_test(NAME monitor_instances SCRIPT test_monitor_instances.py VERSIONS win98 winxp)
vur_e2e_test(NAME monitor_tray SCRIPT test_monitor_tray.py VERSIONS win98 winxp)
vur_e2e_test(NAME monitor_engines SCRIPT test_monitor_engines.py VERSIONS win98 winxp)

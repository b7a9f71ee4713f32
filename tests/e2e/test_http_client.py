"""The download client's Wine tests against loopback nginx and the hostile server, started and stopped here."""
import os
import subprocess

from harness import Case
from http_servers import HostileServer, Nginx, pattern

case = Case(__doc__)
exe = os.path.normpath(os.path.join(case.args.dist, "..", "posix", "bin", "vur_win32_tests.exe"))
files = {"pattern.bin": pattern(300000), "text.html": "Ohne Länge\n".encode("cp1252"), "empty.dat": b""}
nginx = Nginx(files)
hostile = HostileServer()
try:
    env = case.env()
    env.update(VUR_HTTP_NGINX=nginx.main, VUR_HTTP_OTHER=nginx.other, VUR_HTTP_HOSTILE=hostile.address)
    done = subprocess.run([case.loader, exe, "--gtest_filter=HttpServers.*:HttpCliWin32.*"], env=env,
                          capture_output=True, timeout=200)
    output = done.stdout.decode("cp1252", "replace")
    print(output[-6000:])
    case.equal(done.returncode, 0, "exit code of the HTTP tests under Wine")
    case.check("[  SKIPPED ]" not in output, "no HTTP test skipped")
    case.check("[  PASSED  ]" in output, "HTTP tests ran")
finally:
    hostile.stop()
    nginx.stop()
case.finish()

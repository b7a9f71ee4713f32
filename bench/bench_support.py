"""What the benchmark scripts share: processor times of child processes and of a running process."""
import os
import resource
import subprocess
import time


def children_cpu():
    """User and system time of every child process that has ended so far, in seconds."""
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def process_cpu(pid):
    """User and system time of a running process (e.g. the wineserver), in seconds."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def median(values):
    """The middle value (of an even count the upper one of the two in the middle)."""
    return sorted(values)[len(values) // 2]


def make_bench_prefix(work, arch, winearch):
    """A fresh winxp prefix of the architecture in work/prefix; returns it and the environment to run Wine in it."""
    prefix = os.path.join(work, "prefix")
    subprocess.run([os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine", "make-prefix"),
                    prefix, "winxp", arch], check=True, capture_output=True, timeout=300)
    return prefix, dict(os.environ, WINEPREFIX=prefix, WINEARCH=winearch, WINEDEBUG="-all")


def start_wineserver(env):
    """The prefix's own wineserver in the foreground, so that its processor time can be read."""
    server = subprocess.Popen(["wineserver", "-f", "-p"], env=env)
    time.sleep(0.5)
    return server


def stop_wineserver(server, env):
    subprocess.run(["wineserver", "-k"], env=env, timeout=60)
    try:
        server.wait(30)
    except subprocess.TimeoutExpired:
        server.kill()


def wine_for(build):
    """The prefix architecture, the Wine loader and WINEARCH for a Windows build tree (build/win32 or build/win64),
    from the e2e harness's tables (the benchmarks put tests/e2e on the module path)."""
    from harness import LOADERS, WINEARCHS
    arch = "x64" if os.path.basename(os.path.normpath(build)) == "win64" else "x86"
    return arch, LOADERS[arch], WINEARCHS[arch]

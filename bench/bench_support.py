"""What the benchmark scripts share: processor times of child processes and of a running process."""
import os
import resource


def children_cpu():
    """User and system time of every child process that has ended so far, in seconds."""
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def process_cpu(pid):
    """User and system time of a running process (e.g. the wineserver), in seconds."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

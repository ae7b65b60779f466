#!/usr/bin/env python3
"""Runs two commands alternately and compares their whole-process cost.

    side_by_side.py [--runs N] [--warmup N] [--label A,B] -- COMMAND_A... --versus COMMAND_B...

Each command runs under /usr/bin/time, which reports the peak resident memory of the
command itself (a child forked from this script would count the script's own memory).
Wall time is taken from spawn to exit and CPU time (user + system) from the kernel's
accounting (wait4); the launcher's own share, measured on `true` in the same
alternation, is taken off both. Alternating the commands spreads the noise of other
processes over both. Prints the medians and the ratios B / A; exits 1 when a run fails.
"""
import os
import statistics
import sys
import tempfile
import time


def run_once(command, memory_file):
    devnull = os.open(os.devnull, os.O_WRONLY)
    start = time.perf_counter()
    pid = os.posix_spawn("/usr/bin/time", ["time", "-f", "%M", "-o", memory_file] + command, os.environ,
                         file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)])
    _, status, usage = os.wait4(pid, 0)
    os.close(devnull)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed ({os.waitstatus_to_exitcode(status)}): {' '.join(command)}")
    with open(memory_file) as f:
        peak = int(f.read().split()[-1]) / 1024.0
    return wall, usage.ru_utime + usage.ru_stime, peak


def main(argv):
    runs, warmup, labels = 30, 3, ["A", "B"]
    while argv and argv[0] != "--":
        option = argv.pop(0)
        if option == "--runs":
            runs = int(argv.pop(0))
        elif option == "--warmup":
            warmup = int(argv.pop(0))
        elif option == "--label":
            labels = argv.pop(0).split(",")
        else:
            sys.exit(__doc__)
    if not argv or "--versus" not in argv:
        sys.exit(__doc__)
    split = argv.index("--versus")
    commands = [["true"], argv[1:split], argv[split + 1:]]
    with tempfile.NamedTemporaryFile() as memory:
        for _ in range(warmup):
            for command in commands:
                run_once(command, memory.name)
        results = [[] for _ in commands]
        for _ in range(runs):
            for k, command in enumerate(commands):
                results[k].append(run_once(command, memory.name))
    medians = [[statistics.median(r[i] for r in result) for i in range(3)] for result in results]
    launcher_wall, launcher_cpu, _ = medians[0]
    net = [(wall - launcher_wall, cpu - launcher_cpu, rss) for wall, cpu, rss in medians[1:]]
    print(f"{runs} alternating runs, medians, the launcher's share "
          f"({launcher_wall * 1000:.2f} ms wall, {launcher_cpu * 1000:.2f} ms cpu) taken off:")
    for label, (wall, cpu, rss) in zip(labels, net):
        print(f"  {label:>12}: wall {wall * 1000:8.2f} ms   cpu {cpu * 1000:8.2f} ms   peak {rss:7.1f} MB")
    (wa, ca, ra), (wb, cb, rb) = net
    print(f"  {labels[1]} / {labels[0]}: wall {wb / wa:.2f} x   cpu {cb / ca:.2f} x   peak {rb / ra:.2f} x")


if __name__ == "__main__":
    main(sys.argv[1:])

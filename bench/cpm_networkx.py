#!/usr/bin/env python3
"""The planner's usual alternative: the critical path method with networkx on the same
data file, writing early and late times, reserves and floats to a text file.

    cpm_networkx.py DATAFILE OUTPUT
"""
import sys

import networkx as nx


def main(data_file, output):
    with open(data_file, encoding="cp1251") as f:
        lines = f.read().splitlines()
    works, events = int(lines[1]), int(lines[2])
    graph = nx.DiGraph()
    graph.add_nodes_from(range(1, events + 1))
    for line in lines[3:3 + works]:
        i, j, t, n, work_id = line.split(",")
        i, j = sorted((int(i), int(j)))
        graph.add_edge(i, j, t=float(t), n=int(n), id=int(work_id))
    order = list(nx.topological_sort(graph))
    early = {e: 0.0 for e in graph}
    for e in order:
        for _, j, data in graph.out_edges(e, data=True):
            early[j] = max(early[j], early[e] + data["t"])
    length = early[events]
    late = {e: 10000.0 for e in graph}
    late[events] = length
    for e in reversed(order):
        for _, j, data in graph.out_edges(e, data=True):
            late[e] = min(late[e], late[j] - data["t"])
    with open(output, "w") as out:
        for e in range(1, events + 1):
            out.write(f"{e} {early[e]:.2f} {late[e]:.2f} {late[e] - early[e]:.2f}\n")
        critical = []
        for i, j, data in sorted(graph.edges(data=True)):
            total = late[j] - early[i] - data["t"]
            free = early[j] - early[i] - data["t"]
            out.write(f"{i} {j} {total:.2f} {free:.2f}\n")
            if total == 0:
                critical.append((i, j))
        out.write(f"length {length:.2f} critical {len(critical)}\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])

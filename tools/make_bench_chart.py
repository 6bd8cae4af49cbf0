#!/usr/bin/python3
"""Draws the chart the automatic mode's benchmark reads: 800 x 600, two
series (a line and a dashed line), matplotlib's default look with a grid and
a legend.

Usage: tools/make_bench_chart.py OUTPUT.png   (bench/data/two_series_800x600.png
is committed, so the benchmark needs no matplotlib)."""

import subprocess
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "bench/data/two_series_800x600.png"
    fig = plt.figure(figsize=(8, 6), dpi=100)
    ax = fig.add_axes([0.11, 0.1, 0.85, 0.84])
    x = np.linspace(0, 20, 400)
    ax.plot(x, 40 + 25 * np.sin(0.35 * x), color="tab:blue", linewidth=1.8, label="signal")
    ax.plot(x, 5 + 0.2 * x * x, color="tab:orange", linewidth=1.8, linestyle="--", label="trend")
    ax.set_xlim(0, 20)
    ax.set_ylim(0, 100)
    ax.grid(True, color="#b0b0b0", linewidth=0.8)
    ax.set_axisbelow(True)
    ax.set_xlabel("time (s)")
    ax.set_ylabel("level (%)")
    ax.legend(loc="upper left")
    fig.savefig(out, dpi=100)
    plt.close(fig)
    subprocess.run(["convert", out, "-colors", "64", "PNG8:" + out], check=True)


if __name__ == "__main__":
    main()

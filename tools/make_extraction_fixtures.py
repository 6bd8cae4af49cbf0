#!/usr/bin/python3
"""Draws the charts the curve-extraction tests read, with matplotlib, and
writes beside them charts.json: each chart's axis rectangle in pixels, its
axis values and scales, the pixel a user would click, and which function
each curve was drawn from.

Usage: tools/make_extraction_fixtures.py OUTPUT_DIR   (the tests read
tests/data/extraction; the PNGs are committed, so the tests do not need
matplotlib)."""

import json
import math
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

FUNCTIONS = {
    "cubic": lambda x: 2 + 8 * x**2 - 0.6 * x**3,
    "quadratic": lambda x: 20 + 3 * x + 0.5 * x**2,
    "rising": lambda x: x**2,
    "falling": lambda x: 100 - x**2,
    "markers": lambda x: 3 + 0.5 * x**2,
    "exponential": lambda x: 10 ** (0.3 * x),
}


def chart(name, out, curves, xlim, ylim, ylog=False, grid=None, markers=None):
    fig = plt.figure(figsize=(6.4, 4.8), dpi=100)
    ax = fig.add_axes([0.12, 0.12, 0.82, 0.80])
    ax.set_xlim(*xlim)
    ax.set_ylim(*ylim)
    if ylog:
        ax.set_yscale("log")
    if grid:
        ax.grid(True, color=grid, linewidth=1.0)
        ax.set_axisbelow(True)
    x = np.linspace(xlim[0], xlim[1], 400)
    for c in curves:
        ax.plot(x, FUNCTIONS[c["function"]](x), color=c["colour"], linestyle=c.get("style", "-"),
                linewidth=c.get("width", 2.0))
    if markers:
        mx = np.arange(0.5, 10, 0.5)
        ax.plot(mx, FUNCTIONS[markers["function"]](mx), linestyle="none", marker="o",
                markersize=7, color=markers["colour"])
    fig.canvas.draw()
    width, height = fig.canvas.get_width_height()
    box = ax.get_window_extent()
    rect = [int(round(box.x0)), int(round(height - box.y1)), int(round(box.x1)),
            int(round(height - box.y0))]

    def pixel(xv, yv):
        px, py = ax.transData.transform((xv, yv))
        return [int(round(px)), int(round(height - py))]

    entries = []
    for c in curves + ([markers] if markers else []):
        xs = c.get("seedX", 5.0)
        entries.append({"function": c["function"], "seed": pixel(xs, FUNCTIONS[c["function"]](xs)),
                        "markers": c is markers})
    fig.savefig(f"{out}/{name}.png", dpi=100)
    plt.close(fig)
    return {"file": f"{name}.png", "axisRect": rect, "xMin": xlim[0], "xMax": xlim[1],
            "yMin": ylim[0], "yMax": ylim[1], "yLog": ylog, "curves": entries}


def main():
    out = sys.argv[1]
    charts = [
        chart("solid", out, [{"function": "cubic", "colour": "#1f4fb4"}], (0, 10), (0, 250)),
        chart("dashed", out, [{"function": "quadratic", "colour": "#c02020", "style": "--"}],
              (0, 10), (0, 120)),
        chart("grid", out, [{"function": "cubic", "colour": "#208020"}], (0, 10), (0, 250),
              grid="#a0a0c8"),
        chart("crossing", out, [{"function": "rising", "colour": "#1f4fb4", "seedX": 3.0},
                                {"function": "falling", "colour": "#e07010", "seedX": 3.0}],
              (0, 10), (0, 100)),
        chart("markers", out, [], (0, 10), (0, 60),
              markers={"function": "markers", "colour": "#b01090", "seedX": 5.0}),
        chart("logarithmic", out, [{"function": "exponential", "colour": "#1f4fb4"}], (0, 10),
              (1, 1000), ylog=True),
    ]
    with open(f"{out}/charts.json", "w") as f:
        json.dump(charts, f, indent=1)
        f.write("\n")


if __name__ == "__main__":
    main()

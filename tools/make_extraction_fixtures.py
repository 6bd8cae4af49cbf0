#!/usr/bin/python3
"""Draws the charts the curve-extraction tests read, with matplotlib, and
writes beside them charts.json: each chart's axis rectangle in pixels, its
axis values and scales, the pixel a user would click, and which function
each curve was drawn from; and more charts (gnuplot's too) with every
series' drawn function, colour and visible extent in series.json.

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


# Charts that look like what people digitise, each series with the function
# it was drawn from as a polyline of samples in axis values, the X range
# where it is visible, its colour, and a seed pixel on it. Written to
# series.json; the acceptance test and tools/extraction_metric.py read it.
SERIES_FUNCTIONS = {
    **FUNCTIONS,
    "wave": (lambda x: 50 + 30 * np.sin(0.9 * x), "50 + 30 sin(0.9 x)"),
    "ramp": (lambda x: 10 + 8 * x, "10 + 8 x"),
    "hump": (lambda x: 80 * np.exp(-((x - 6) ** 2) / 6), "80 exp(-(x - 6)^2 / 6)"),
    "decay": (lambda x: 90 * np.exp(-0.35 * x) + 5, "90 exp(-0.35 x) + 5"),
    "doubling": (lambda x: 2.0**x, "2^x"),
    "power": (lambda x: 3 * x**1.5, "3 x^1.5"),
    "fitted": (lambda x: 4 + 0.45 * x**2 + 0.6 * x, "4 + 0.6 x + 0.45 x^2"),
}
EXPRS = {"cubic": "2 + 8 x^2 - 0.6 x^3", "quadratic": "20 + 3 x + 0.5 x^2", "rising": "x^2",
         "falling": "100 - x^2", "markers": "3 + 0.5 x^2", "exponential": "10^(0.3 x)"}


def fn(name):
    f = SERIES_FUNCTIONS[name]
    return (f, EXPRS[name]) if callable(f) else f


def colour_hex(c):
    r, g, b = matplotlib.colors.to_rgb(c)
    return "#%02x%02x%02x" % (round(r * 255), round(g * 255), round(b * 255))


def sample_series(name, xlim, ylim, xlog, ylog, markers_x=None):
    f, expr = fn(name)
    if xlog:
        xs = np.logspace(math.log10(xlim[0]), math.log10(xlim[1]), 400)
    else:
        xs = np.linspace(xlim[0], xlim[1], 400)
    ys = f(xs)
    inside = (ys >= ylim[0]) & (ys <= ylim[1])
    visible = [float(xs[inside].min()), float(xs[inside].max())]
    entry = {"function": name, "expr": expr, "visible": visible,
             "samples": [[float("%.6g" % x), float("%.6g" % y)] for x, y in zip(xs, ys)]}
    if markers_x is not None:
        mx = [float(v) for v in markers_x if ylim[0] <= f(v) <= ylim[1]]
        entry["markersX"] = mx
        entry["visible"] = [min(mx), max(mx)]
    return entry


def mpl_chart(name, out, series, xlim, ylim, xlog=False, ylog=False, grid=None, legend=None,
              jpeg=False, size=(6.4, 4.8), legend_columns=1):
    fig = plt.figure(figsize=size, dpi=100)
    ax = fig.add_axes([0.12, 0.12, 0.82, 0.80])
    if xlog:
        ax.set_xscale("log")
    if ylog:
        ax.set_yscale("log")
    ax.set_xlim(*xlim)
    ax.set_ylim(*ylim)
    if grid:
        ax.grid(True, which=grid.get("which", "major"), color=grid["colour"],
                linestyle=grid.get("style", "-"), linewidth=grid.get("width", 0.8))
        ax.set_axisbelow(True)
    if xlog:
        x = np.logspace(math.log10(xlim[0]), math.log10(xlim[1]), 600)
    else:
        x = np.linspace(xlim[0], xlim[1], 600)
    for s in series:
        f = fn(s["function"])[0]
        if "markersX" in s:
            mx = np.array(s["markersX"])
            ax.plot(mx, f(mx), linestyle="none", marker=s.get("marker", "o"),
                    markersize=s.get("size", 7), color=s["colour"], label=s["function"],
                    clip_on=True, zorder=2)
        else:
            ax.plot(x, f(x), color=s["colour"], linestyle=s.get("style", "-"),
                    linewidth=s.get("width", 2.0), label=s["function"], zorder=s.get("z", 2))
    if legend:
        ax.legend(loc=legend, ncol=legend_columns)
    fig.canvas.draw()
    width, height = fig.canvas.get_width_height()
    box = ax.get_window_extent()
    rect = [int(round(box.x0)), int(round(height - box.y1)), int(round(box.x1)),
            int(round(height - box.y0))]

    def pixel(xv, yv):
        px, py = ax.transData.transform((xv, yv))
        return [int(round(px)), int(round(height - py))]

    entries = []
    for s in series:
        f = fn(s["function"])[0]
        e = sample_series(s["function"], xlim, ylim, xlog, ylog, s.get("markersX"))
        sx = s.get("seedX", 5.0)
        e.update({"colour": colour_hex(s["colour"]), "colourName": s["name"],
                  "markers": "markersX" in s, "seed": pixel(sx, f(sx)),
                  "dashed": s.get("style", "-") != "-"})
        entries.append(e)
    file = f"{name}.jpg" if jpeg else f"{name}.png"
    if jpeg:
        fig.savefig(f"{out}/{name}.png", dpi=100)
        from PIL import Image
        Image.open(f"{out}/{name}.png").convert("RGB").save(f"{out}/{file}", quality=70)
        import os
        os.remove(f"{out}/{name}.png")
    else:
        fig.savefig(f"{out}/{file}", dpi=100)
    plt.close(fig)
    return {"file": file, "maker": "matplotlib", "axisRect": rect, "xMin": xlim[0],
            "xMax": xlim[1], "yMin": ylim[0], "yMax": ylim[1], "xLog": xlog, "yLog": ylog,
            "series": entries}


def photographed(entry, out, name):
    """The chart printed and photographed: on a desk, tilted in perspective,
    lit unevenly from one side, a little soft, noisy and saved as JPEG. The
    entry gains "photo": where the chart's corners (top left, top right,
    bottom right, bottom left; pixel edges) lie on the photograph, so the
    test straightens it as a user placing the corners would."""
    from PIL import Image, ImageFilter
    import os
    src = Image.open(f"{out}/{entry['file']}").convert("RGB")
    os.remove(f"{out}/{entry['file']}")
    w, h = src.size
    W, H = int(w * 1.3), int(h * 1.3)
    corners = [(0.11 * W, 0.09 * H), (0.91 * W, 0.15 * H), (0.87 * W, 0.93 * H),
               (0.08 * W, 0.86 * H)]
    # The homography from the photograph to the chart, which PIL samples by.
    rows, rhs = [], []
    for (X, Y), (x, y) in zip(corners, [(0, 0), (w, 0), (w, h), (0, h)]):
        rows.append([X, Y, 1, 0, 0, 0, -x * X, -x * Y])
        rows.append([0, 0, 0, X, Y, 1, -y * X, -y * Y])
        rhs += [x, y]
    coeffs = np.linalg.solve(np.array(rows, float), np.array(rhs, float))
    chart_part = src.transform((W, H), Image.PERSPECTIVE, tuple(coeffs), Image.BICUBIC)
    mask = Image.new("L", (w, h), 255).transform((W, H), Image.PERSPECTIVE, tuple(coeffs),
                                                 Image.BICUBIC)
    rng = np.random.default_rng(7)
    desk = np.empty((H, W, 3), float)
    desk[:] = (118, 104, 88)
    desk += rng.normal(0, 6, (H, W, 1))
    photo = Image.composite(chart_part, Image.fromarray(desk.clip(0, 255).astype(np.uint8)), mask)
    a = np.asarray(photo, float)
    yy, xx = np.mgrid[0:H, 0:W]
    light = 0.72 + 0.3 * (xx / W) + 0.06 * np.sin(yy / H * 3.1)
    a = a * light[..., None] * np.array([1.0, 0.97, 0.9]) + rng.normal(0, 4, (H, W, 3))
    photo = Image.fromarray(a.clip(0, 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(0.7))
    file = f"{name}.jpg"
    photo.save(f"{out}/{file}", quality=80)
    entry = dict(entry)
    entry["file"] = file
    entry["photo"] = {"corners": [[round(x, 2), round(y, 2)] for x, y in corners],
                      "size": [w, h]}
    return entry


def gnuplot_chart(name, out, series, xlim, ylim, settings=""):
    """gnuplot's own look: a border with ticks inside, a dotted grid, a key
    with line samples at the top right. The plot area is pinned by margins
    given in pixels so its rectangle is known."""
    import subprocess
    w, h = 640, 480
    left, right, top, bottom = 70, 610, 30, 430
    plots = []
    for s in series:
        expr = s["gnuplot"]
        if "markersX" in s:
            data = "\n".join("%g %g" % (v, fn(s["function"])[0](v)) for v in s["markersX"])
            plots.append(("'-' with points pt 7 ps 1.2 lc rgb '%s' title '%s'"
                          % (s["colour"], s["function"]), data))
        else:
            style = "dt 2 " if s.get("style", "-") != "-" else ""
            plots.append(("%s with lines lw 2 %slc rgb '%s' title '%s'"
                          % (expr, style, s["colour"], s["function"]), None))
    script = f"""
set terminal pngcairo size {w},{h} font 'sans,10'
set output '{out}/{name}.png'
set lmargin at screen {left / w}
set rmargin at screen {right / w}
set tmargin at screen {1 - top / h}
set bmargin at screen {1 - bottom / h}
set xrange [{xlim[0]}:{xlim[1]}]
set yrange [{ylim[0]}:{ylim[1]}]
set samples 600
{settings}
plot {", ".join(p for p, _ in plots)}
"""
    for _, data in plots:
        if data:
            script += data + "\ne\n"
    subprocess.run(["gnuplot"], input=script, text=True, check=True)
    entries = []
    for s in series:
        f = fn(s["function"])[0]
        e = sample_series(s["function"], xlim, ylim, False, False, s.get("markersX"))
        sx = s.get("seedX", 5.0)
        px = left + (sx - xlim[0]) / (xlim[1] - xlim[0]) * (right - left)
        py = bottom - (f(sx) - ylim[0]) / (ylim[1] - ylim[0]) * (bottom - top)
        e.update({"colour": s["colour"], "colourName": s["name"], "markers": "markersX" in s,
                  "seed": [int(round(px)), int(round(py))],
                  "dashed": s.get("style", "-") != "-"})
        entries.append(e)
    return {"file": f"{name}.png", "maker": "gnuplot", "axisRect": [left, top, right, bottom],
            "xMin": xlim[0], "xMax": xlim[1], "yMin": ylim[0], "yMax": ylim[1], "xLog": False,
            "yLog": False, "series": entries}


def ggplot_chart(out):
    """ggplot's look: a grey ground with a white grid."""
    with matplotlib.style.context("ggplot"):
        return mpl_chart("ggplot_two", out,
                         [{"function": "wave", "colour": "#E24A33", "name": "red", "seedX": 3.0},
                          {"function": "decay", "colour": "#348ABD", "name": "blue",
                           "seedX": 2.0}], (0, 10), (0, 100), legend="upper right")


def series_charts(out, old):
    charts = []
    # The older charts, described the same way.
    names = {"#1f4fb4": "blue", "#c02020": "red", "#208020": "green", "#e07010": "orange",
             "#b01090": "magenta"}
    for c, drawn in old:
        entries = []
        for e, s in zip(c["curves"], drawn):
            xlim, ylim = (c["xMin"], c["xMax"]), (c["yMin"], c["yMax"])
            mx = list(np.arange(0.5, 10, 0.5)) if e["markers"] else None
            d = sample_series(e["function"], xlim, ylim, False, c["yLog"], mx)
            d.update({"colour": s["colour"], "colourName": names[s["colour"]],
                      "markers": e["markers"], "seed": e["seed"],
                      "dashed": s.get("style", "-") != "-"})
            entries.append(d)
        charts.append({"file": c["file"], "maker": "matplotlib", "axisRect": c["axisRect"],
                       "xMin": c["xMin"], "xMax": c["xMax"], "yMin": c["yMin"],
                       "yMax": c["yMax"], "xLog": False, "yLog": c["yLog"], "series": entries})
    tab = matplotlib.rcParams["axes.prop_cycle"].by_key()["color"]
    charts += [
        mpl_chart("framed_black", out, [{"function": "rising", "colour": "black", "name": "black",
                                         "seedX": 6.0}], (0, 10), (0, 100)),
        mpl_chart("grid_same_colour", out,
                  [{"function": "cubic", "colour": "#1f4fb4", "name": "blue"}], (0, 10), (0, 250),
                  grid={"colour": "#1f4fb4", "width": 1.0}),
        mpl_chart("grid_dashed_black", out,
                  [{"function": "hump", "colour": "black", "name": "black", "seedX": 4.0}],
                  (0, 10), (0, 100), grid={"colour": "black", "style": "--", "width": 0.6}),
        mpl_chart("legend_two", out,
                  [{"function": "wave", "colour": tab[0], "name": "blue", "seedX": 3.0},
                   {"function": "ramp", "colour": tab[1], "name": "orange", "seedX": 3.0}],
                  (0, 10), (0, 100), legend="upper left"),
        mpl_chart("legend_three", out,
                  [{"function": "wave", "colour": tab[0], "name": "blue", "seedX": 3.0},
                   {"function": "decay", "colour": tab[1], "name": "orange", "seedX": 2.0},
                   {"function": "hump", "colour": tab[2], "name": "green", "seedX": 6.0}],
                  (0, 10), (0, 100), legend="upper right",
                  grid={"colour": "#b0b0b0", "width": 0.8}),
        mpl_chart("clipped_top", out,
                  [{"function": "doubling", "colour": tab[3], "name": "red", "seedX": 6.0}],
                  (0, 10), (0, 300)),
        mpl_chart("markers_line", out,
                  [{"function": "markers", "colour": tab[0], "name": "blue", "seedX": 5.0,
                    "markersX": list(np.arange(0, 10.01, 0.5))},
                   {"function": "fitted", "colour": tab[3], "name": "red", "seedX": 7.0,
                    "z": 3, "width": 1.5}],
                  (0, 10), (0, 60), legend="upper left"),
        mpl_chart("same_colour_dashed", out,
                  [{"function": "rising", "colour": tab[2], "name": "green", "seedX": 2.5},
                   {"function": "falling", "colour": tab[2], "name": "green", "seedX": 3.0,
                    "style": "--"}], (0, 10), (0, 100)),
        mpl_chart("jpeg_two", out,
                  [{"function": "wave", "colour": tab[0], "name": "blue", "seedX": 3.0},
                   {"function": "decay", "colour": tab[3], "name": "red", "seedX": 2.0}],
                  (0, 10), (0, 100), legend="lower right", grid={"colour": "#b0b0b0"},
                  jpeg=True),
        mpl_chart("log_log", out,
                  [{"function": "power", "colour": tab[4], "name": "purple", "seedX": 10.0}],
                  (1, 100), (1, 3000), xlog=True, ylog=True,
                  grid={"colour": "#c8c8c8", "which": "both", "width": 0.6}),
        mpl_chart("thin_four", out,
                  [{"function": "wave", "colour": tab[0], "name": "blue", "seedX": 3.0,
                    "width": 1.0},
                   {"function": "decay", "colour": tab[1], "name": "orange", "seedX": 2.0,
                    "width": 1.0},
                   {"function": "hump", "colour": tab[2], "name": "green", "seedX": 3.5,
                    "width": 1.0},
                   {"function": "ramp", "colour": tab[3], "name": "red", "seedX": 4.0,
                    "width": 1.0}],
                  (0, 10), (0, 100), legend="upper center", legend_columns=4,
                  grid={"colour": "#b0b0b0"}),
        ggplot_chart(out),
        mpl_chart("triangles_line", out,
                  [{"function": "markers", "colour": tab[2], "name": "green", "seedX": 5.0,
                    "marker": "^", "markersX": list(np.arange(0, 10.01, 0.5))},
                   {"function": "fitted", "colour": "black", "name": "black", "seedX": 7.0,
                    "z": 3, "width": 1.0}],
                  (0, 10), (0, 60), legend="upper left", grid={"colour": "#dddddd"}),
        mpl_chart("large_dashed", out,
                  [{"function": "cubic", "colour": "black", "name": "black", "seedX": 5.0},
                   {"function": "quadratic", "colour": tab[1], "name": "orange", "seedX": 5.0,
                    "style": "--"}],
                  (0, 10), (0, 250), legend="upper left", size=(12.8, 9.6)),
        gnuplot_chart("gnuplot_two", out,
                      [{"function": "wave", "gnuplot": "50 + 30*sin(0.9*x)", "colour": "#9400d3",
                        "name": "purple", "seedX": 3.0},
                       {"function": "decay", "gnuplot": "90*exp(-0.35*x) + 5",
                        "colour": "#009e73", "name": "green", "seedX": 2.0}],
                      (0, 10), (0, 100), "set grid\nset key top right"),
        gnuplot_chart("gnuplot_markers", out,
                      [{"function": "markers", "gnuplot": "", "colour": "#0072b2",
                        "name": "blue", "markersX": list(np.arange(1, 10, 1.0)), "seedX": 5.0},
                       {"function": "fitted", "gnuplot": "4 + 0.6*x + 0.45*x**2",
                        "colour": "#e51e10", "name": "red", "seedX": 7.0}],
                      (0, 10), (0, 60), "set key top left"),
        photographed(mpl_chart("photo_two_chart", out,
                               [{"function": "wave", "colour": tab[0], "name": "blue",
                                 "seedX": 3.0},
                                {"function": "decay", "colour": tab[3], "name": "red",
                                 "seedX": 2.0}],
                               (0, 10), (0, 100), legend="upper right",
                               grid={"colour": "#b0b0b0"}), out, "photo_two"),
    ]
    return charts


def main():
    out = sys.argv[1]
    layouts = [
        ("solid", [{"function": "cubic", "colour": "#1f4fb4"}], (0, 10), (0, 250), {}),
        ("dashed", [{"function": "quadratic", "colour": "#c02020", "style": "--"}], (0, 10),
         (0, 120), {}),
        ("grid", [{"function": "cubic", "colour": "#208020"}], (0, 10), (0, 250),
         {"grid": "#a0a0c8"}),
        ("crossing", [{"function": "rising", "colour": "#1f4fb4", "seedX": 3.0},
                      {"function": "falling", "colour": "#e07010", "seedX": 3.0}], (0, 10),
         (0, 100), {}),
        ("markers", [], (0, 10), (0, 60),
         {"markers": {"function": "markers", "colour": "#b01090", "seedX": 5.0}}),
        ("logarithmic", [{"function": "exponential", "colour": "#1f4fb4"}], (0, 10), (1, 1000),
         {"ylog": True}),
    ]
    charts = [chart(name, out, curves, xlim, ylim, **kw) for name, curves, xlim, ylim, kw in layouts]
    with open(f"{out}/charts.json", "w") as f:
        json.dump(charts, f, indent=1)
        f.write("\n")
    old = [(c, s[1] + ([s[4]["markers"]] if "markers" in s[4] else [])) for c, s in zip(charts, layouts)]
    with open(f"{out}/series.json", "w") as f:
        json.dump(series_charts(out, old), f, separators=(",", ":"))
        f.write("\n")


if __name__ == "__main__":
    main()

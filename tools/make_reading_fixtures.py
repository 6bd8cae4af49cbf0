#!/usr/bin/python3
"""Draws the charts the axis-reading tests measure, with matplotlib and with
gnuplot, and photographs ten of them (perspective tilt, uneven light, JPEG)
with ImageMagick. Writes beside them charts.json: for each chart its file,
the program that drew it, each axis's range and scale and the pixel
positions (column or row, pixel centres at whole numbers) of the range's
ends; the series drawn, each as its colour and its curve in the unit square
of the axes (0 to 1 from each axis's min to its max, in decades on a
logarithmic axis); for a photograph, the plot frame's four corners in the
photograph.

Usage: tools/make_reading_fixtures.py OUTPUT_DIR   (the tests read
tests/data/reading; the pictures are committed, so the tests need neither
matplotlib nor gnuplot nor ImageMagick)."""

import json
import math
import os
import subprocess
import sys
import tempfile

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import matplotlib.ticker as mticker  # noqa: E402
import numpy as np  # noqa: E402

W, H = 640, 480


def unit_curve(f, n=51):
    """The curve v = f(u) sampled across the unit square of the axes."""
    return [[round(i / (n - 1), 6), round(float(f(i / (n - 1))), 6)] for i in range(n)]


def mpl_chart(out, name, xlim, ylim, xlog=False, ylog=False, font=10, family="DejaVu Sans",
              spines=True, grid=False, xfmt=None, yfmt=None, xsci=None, ysci=None,
              unicode_minus=True, curve=None, margins=(0.14, 0.12, 0.94, 0.92), titles=None,
              legend=False, size=(W, H), ticks=None, xlabels=None, rotation=0, style=None,
              tick_length=None):
    if style:
        # A style's own look (background, grid, spines, tick marks), the font
        # and the rest as asked.
        with plt.style.context(style):
            chart = mpl_chart(out, name, xlim, ylim, xlog, ylog, font, family, spines, grid,
                              xfmt, yfmt, xsci, ysci, unicode_minus, curve, margins, titles,
                              legend, size, ticks, xlabels, rotation, None, tick_length)
        chart.update({"style": style, "box": False})
        return chart
    w, h = size
    # No snapping of lines to pixel centres: matplotlib moves each line by up
    # to a pixel then, and the truth below is where the values really are.
    plt.rcParams.update({"font.size": font, "font.family": family,
                         "axes.unicode_minus": unicode_minus, "path.snap": False})
    fig = plt.figure(figsize=(w / 100, h / 100), dpi=100)
    left, bottom, right, top = margins
    ax = fig.add_axes([left, bottom, right - left, top - bottom])
    if xlog:
        ax.set_xscale("log")
    if ylog:
        ax.set_yscale("log")
    ax.set_xlim(*xlim)
    ax.set_ylim(*ylim)
    if spines == "none":
        for side in ax.spines.values():
            side.set_visible(False)
    elif not spines:
        ax.spines["top"].set_visible(False)
        ax.spines["right"].set_visible(False)
    if grid == "light":
        ax.grid(True, which="major", color="#d8d8d8", linewidth=0.8)
        ax.set_axisbelow(True)
    elif grid:
        ax.grid(True, which="major", color="#b0b0b0", linewidth=0.8)
        ax.set_axisbelow(True)
    if tick_length is not None:
        ax.tick_params(which="both", length=tick_length)
    for axis, fmt in ((ax.xaxis, xfmt), (ax.yaxis, yfmt)):
        if fmt == "thousands":
            axis.set_major_formatter(mticker.FuncFormatter(lambda v, _: f"{v:,.0f}"))
        elif fmt == "degrees":
            axis.set_major_formatter(mticker.FuncFormatter(lambda v, _: f"{v:g}\u00b0"))
        elif fmt == "percent":
            axis.set_major_formatter(mticker.PercentFormatter(decimals=0))
        elif fmt == "e":
            axis.set_major_formatter(mticker.FuncFormatter(lambda v, _: f"{v:.0e}".replace("e+0", "e")
                                                           .replace("e-0", "e-")))
        elif fmt == "times":
            def times(v, _):
                if v == 0:
                    return "0"
                e = int(math.floor(math.log10(abs(v))))
                m = v / 10**e
                return rf"${m:g}\times10^{{{e}}}$"
            axis.set_major_formatter(mticker.FuncFormatter(times))
    if ticks:
        ax.tick_params(which="both", direction=ticks, top=ticks != "out", right=ticks != "out")
    if xlabels:
        ax.set_xticks(range(len(xlabels)), xlabels)
    if rotation:
        ax.tick_params(axis="x", labelrotation=rotation)
    if xsci:
        ax.ticklabel_format(axis="x", style="sci", scilimits=(0, 0), useMathText=xsci == "math")
    if ysci:
        ax.ticklabel_format(axis="y", style="sci", scilimits=(0, 0), useMathText=ysci == "math")
    x = np.logspace(math.log10(xlim[0]), math.log10(xlim[1]), 300) if xlog else \
        np.linspace(xlim[0], xlim[1], 300)
    t = (np.log10(x) - math.log10(xlim[0])) / (math.log10(xlim[1]) - math.log10(xlim[0])) if xlog \
        else (x - xlim[0]) / (xlim[1] - xlim[0])
    f = curve or (lambda s: 0.2 + 0.6 * s * s)
    ly = (math.log10(ylim[0]), math.log10(ylim[1])) if ylog else ylim
    y = ly[0] + f(t) * (ly[1] - ly[0])
    ax.plot(x, 10**y if ylog else y, color="tab:blue", linewidth=1.8, label="measured")
    if titles:
        ax.set_xlabel(titles[0])
        ax.set_ylabel(titles[1])
        if len(titles) > 2:
            ax.set_title(titles[2])
    if legend:
        ax.legend(loc="upper left")
    fig.canvas.draw()

    # Agg draws tick marks centred on the pixel nearest their position, up
    # to a pixel right of and below it: the truth is the scale the labelled
    # marks give (least squares through them), at the axis's limits.
    def drawn(axis, lim, log, coord):
        f = (lambda v: math.log10(v)) if log else (lambda v: v)
        lo, hi = sorted(lim)
        ticks = list(zip(axis.get_majorticklocs(), axis.get_majorticklabels())) + \
            list(zip(axis.get_minorticklocs(), axis.get_minorticklabels()))
        vs = [v for v, label in ticks
              if label.get_text() and lo <= v <= hi and (v > 0 or not log)]
        ps = [coord(v) for v in vs]
        if len(vs) < 2:  # too few labels to read: the scale as laid out
            vs, ps = list(lim), [coord(v) for v in lim]
        slope, icept = np.polyfit([f(v) for v in vs], ps, 1)
        return [float(icept + slope * f(v)) for v in lim]

    # Without tick marks (styles that draw none) the grid lines show the
    # scale, drawn where the values are: pixel centres at whole numbers.
    def marked(axis):
        t = axis.get_major_ticks()
        return bool(t) and t[0].tick1line.get_visible() and t[0].tick1line.get_markersize() > 0

    snap_x = round if marked(ax.xaxis) else (lambda p: p - 0.5)
    snap_y = round if marked(ax.yaxis) else (lambda p: p + 0.5)
    px = drawn(ax.xaxis, xlim, xlog,
               lambda v: snap_x(float(ax.transData.transform((v, ylim[0]))[0])))
    py = drawn(ax.yaxis, ylim, ylog,
               lambda v: h - snap_y(float(ax.transData.transform((xlim[0], v))[1])))

    fig.savefig(os.path.join(out, name + ".png"), dpi=100)
    plt.close(fig)
    return {"file": name + ".png", "program": "matplotlib", "box": spines is True,
            "x": {"min": xlim[0], "max": xlim[1], "log": xlog, "pixelMin": px[0], "pixelMax": px[1]},
            "y": {"min": ylim[0], "max": ylim[1], "log": ylog, "pixelMin": py[0], "pixelMax": py[1]},
            "series": [{"colour": "tab:blue", "curve": unit_curve(f)}]}


def gp_chart(out, name, xlim, ylim, xlog=False, ylog=False, font=10, family="Sans",
             border=True, grid=False, xfmt=None, yfmt=None, xtics=None, ytics=None,
             margins=(0.14, 0.12, 0.94, 0.92), func="0.2+0.6*t*t", titles=None, key=False):
    left, bottom, right, top = margins
    lines = [f'set terminal pngcairo size {W},{H} font "{family},{font}" enhanced',
             f'set output "{os.path.join(out, name + ".png")}"',
             f"set lmargin at screen {left}", f"set rmargin at screen {right}",
             f"set bmargin at screen {bottom}", f"set tmargin at screen {top}",
             f"set xrange [{xlim[0]}:{xlim[1]}]", f"set yrange [{ylim[0]}:{ylim[1]}]",
             "set samples 300", "set key top left" if key else "unset key"]
    if titles:
        lines += [f'set xlabel "{titles[0]}"', f'set ylabel "{titles[1]}"']
        if len(titles) > 2:
            lines.append(f'set title "{titles[2]}"')
    if xlog:
        lines.append("set logscale x")
    if ylog:
        lines.append("set logscale y")
    if border == "none":
        lines += ["unset border", "set xtics nomirror", "set ytics nomirror"]
    elif not border:
        lines += ["set border 3", "set xtics nomirror", "set ytics nomirror"]
    if grid:
        lines.append("set grid")
    for axis, fmt in (("x", xfmt), ("y", yfmt)):
        if fmt:
            lines.append(f'set format {axis} "{fmt}"')
    if xtics:
        lines.append(f"set xtics {xtics}")
    if ytics:
        lines.append(f"set ytics {ytics}")
    lx = "(log10(x)-log10({0}))/(log10({1})-log10({0}))".format(*xlim) if xlog else \
        "(x-({0}))/(({1})-({0}))".format(*xlim)
    fy = func.replace("t", lx)
    if ylog:
        a, b = math.log10(ylim[0]), math.log10(ylim[1])
        lines.append(f"plot 10**({a}+({fy})*({b - a})) lw 2 title 'measured'")
    else:
        lines.append(f"plot {ylim[0]}+({fy})*({ylim[1]}-({ylim[0]})) lw 2 title 'measured'")
    subprocess.run(["gnuplot"], input="\n".join(lines) + "\n", text=True, check=True)
    # gnuplot's pngcairo puts screen fraction f at f * (size - 1) and draws
    # the border on the nearest pixel.
    return {"file": name + ".png", "program": "gnuplot", "box": border is True,
            "x": {"min": xlim[0], "max": xlim[1], "log": xlog, "pixelMin": round(left * (W - 1)),
                  "pixelMax": round(right * (W - 1))},
            "y": {"min": ylim[0], "max": ylim[1], "log": ylog,
                  "pixelMin": round((1 - bottom) * (H - 1)), "pixelMax": round((1 - top) * (H - 1))},
            # gnuplot's first line colour.
            "series": [{"colour": "#9400d3",
                        "curve": unit_curve(lambda u: eval(func, {"t": u}))}]}


def homography(src, dst):
    a, b = [], []
    for (x, y), (u, v) in zip(src, dst):
        a.append([x, y, 1, 0, 0, 0, -u * x, -u * y])
        b.append(u)
        a.append([0, 0, 0, x, y, 1, -v * x, -v * y])
        b.append(v)
    h = np.linalg.solve(np.array(a, float), np.array(b, float))
    return np.append(h, 1.0).reshape(3, 3)


def photograph(out, chart, name, tilt, light, seed):
    """The chart as a photo of a page on a grey desk: the page's corners
    moved by `tilt` (pixels, per corner), light falling off across it."""
    rng = np.random.default_rng(seed)
    src = [(0, 0), (W, 0), (W, H), (0, H)]
    # The page lands in an 800 x 600 photo, its corners displaced.
    base = [(80, 60), (720, 60), (720, 540), (80, 540)]
    dst = [(bx + tx, by + ty) for (bx, by), (tx, ty) in zip(base, tilt)]
    hm = homography(src, dst)
    pts = " ".join(f"{sx},{sy} {dx},{dy}" for (sx, sy), (dx, dy) in zip(src, dst))
    with tempfile.TemporaryDirectory() as tmp:
        page = os.path.join(out, chart["file"])
        gx, gy = light
        subprocess.run(["convert", page, "-bordercolor", "white", "-border", "0",
                        "-virtual-pixel", "background", "-background", "rgb(96,96,104)",
                        "-extent", "800x600", "-distort", "Perspective", pts,
                        "(", "-size", "1200x1200", f"gradient:rgb({gx},{gx},{gx})-rgb({gy},{gy},{gy})",
                        "-rotate", str(int(rng.integers(0, 360))), "+repage", "-gravity", "center",
                        "-crop", "800x600+0+0", "+repage", ")",
                        "-compose", "multiply", "-composite",
                        "-seed", str(seed), "-attenuate", "0.3", "+noise", "Gaussian",
                        "-quality", "82", os.path.join(out, name + ".jpg")], check=True)
        del tmp

    def warp(px, py):
        # Pixel centres at whole numbers here, at +0.5 in ImageMagick's coordinates.
        p = hm @ np.array([px + 0.5, py + 0.5, 1.0])
        return [float(p[0] / p[2] - 0.5), float(p[1] / p[2] - 0.5)]

    x, y = chart["x"], chart["y"]
    corners = [warp(x["pixelMin"], y["pixelMax"]), warp(x["pixelMax"], y["pixelMax"]),
               warp(x["pixelMax"], y["pixelMin"]), warp(x["pixelMin"], y["pixelMin"])]
    photo = dict(chart)
    photo.update({"file": name + ".jpg", "photographed": True, "corners": corners,
                  "page": chart["file"]})
    return photo


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "tests/data/reading"
    os.makedirs(out, exist_ok=True)
    charts = []
    T = ("time (s)", "signal (mV)")  # noqa: N806
    TT = ("frequency (Hz)", "gain", "Response")  # noqa: N806
    m = lambda *a, **k: charts.append(mpl_chart(out, *a, **k))  # noqa: E731
    g = lambda *a, **k: charts.append(gp_chart(out, *a, **k))  # noqa: E731

    m("mpl_linear", (0, 10), (0, 100))
    m("mpl_negative", (-5, 5), (-1, 1), titles=("time (s)", "signal (mV)"))
    m("mpl_hyphen_minus", (-50, 50), (-2.5, 2.5), unicode_minus=False)
    m("mpl_decimals", (0, 1), (0, 0.05), font=9)
    m("mpl_small_font", (0, 250), (-30, 10), font=8)
    m("mpl_large_font", (0, 6), (0, 12), font=14, margins=(0.16, 0.15, 0.94, 0.92))
    m("mpl_serif", (1990, 2020), (0, 400), family="DejaVu Serif", titles=("year", "count"))
    m("mpl_nimbus", (0, 20), (-100, 300), family="Nimbus Sans", font=11)
    m("mpl_grid", (0, 100), (0, 1), grid=True, titles=("frequency (Hz)", "gain", "Response"))
    m("mpl_grid_negative", (-20, 40), (-8, 8), grid=True, font=11)
    m("mpl_nospines", (0, 50), (0, 30), spines=False, titles=("time (s)", "signal (mV)"))
    m("mpl_nospines_grid", (-1, 1), (0, 200), spines=False, grid=True)
    m("mpl_thousands", (0, 5000), (0, 25000), xfmt="thousands", yfmt="thousands",
      margins=(0.16, 0.12, 0.94, 0.92), titles=("items", "price (EUR)"))
    m("mpl_percent", (0, 10), (0, 100), yfmt="percent")
    m("mpl_ylog", (0, 10), (1, 1e4), ylog=True, titles=("time (s)", "signal (mV)"))
    m("mpl_xlog", (1, 1000), (0, 5), xlog=True)
    m("mpl_loglog", (0.01, 100), (1e-3, 10), xlog=True, ylog=True, curve=lambda s: s, titles=("frequency (Hz)", "gain", "Response"))
    m("mpl_ylog_grid", (0, 20), (0.1, 1000), ylog=True, grid=True)
    m("mpl_xlog_nospines", (10, 1e5), (-1, 1), xlog=True, spines=False)
    m("mpl_ylog_large_font", (0, 4), (1, 1e6), ylog=True, font=13, margins=(0.16, 0.14, 0.94, 0.92))
    m("mpl_offset_y", (0, 10), (0, 3e6), ysci="plain", titles=("time (s)", "signal (mV)"))
    m("mpl_offset_y_math", (0, 10), (0, 4e4), ysci="math")
    m("mpl_offset_x_math", (0, 2e-3), (-1, 1), xsci="math", titles=("distance (m)", "amplitude"))
    m("mpl_offset_both", (0, 6e5), (0, 8e-4), xsci="math", ysci="math", font=9)
    m("mpl_sci_e", (0, 4000), (0, 1e5), xfmt="e", yfmt="e", margins=(0.14, 0.12, 0.94, 0.92))
    m("mpl_sci_times", (0, 10), (0, 5e3), yfmt="times", margins=(0.17, 0.12, 0.94, 0.92), titles=("time (s)", "signal (mV)"))
    m("mpl_inverted_x", (10, 0), (0, 1))
    m("mpl_narrow", (0, 3), (0, 9), margins=(0.25, 0.2, 0.8, 0.85), font=9)
    m("mpl_wide_range", (-1000, 1000), (-0.5, 0.25))
    m("mpl_log_minor", (0, 10), (50, 400), ylog=True, titles=T)
    m("mpl_legend", (0, 10), (-3, 3), legend=True, titles=T, font=11)
    m("mpl_800x600", (0, 50), (0, 1.2), size=(800, 600), titles=TT, grid=True)
    m("mpl_additive_offset", (1000, 1000.5), (0.99995e6, 1.00002e6))
    m("mpl_ticks_in", (0, 8), (-40, 40), ticks="in", family="Nimbus Roman", font=12)
    m("mpl_ticks_both", (-2, 2), (0, 0.8), ticks="inout", family="URW Gothic")
    m("mpl_months", (0, 11), (0, 30), xlabels=["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                               "Aug", "Sep", "Oct", "Nov", "Dec"], titles=T)
    m("mpl_rotated", (0, 1000), (0, 5), rotation=45, margins=(0.14, 0.18, 0.94, 0.92))
    m("mpl_degrees", (-180, 180), (0, 1), xfmt="degrees")
    m("mpl_tenths", (0.3, 1.7), (2.2, 3.4), titles=("frequency (Hz)", "gain", "Response"))

    g("gp_key", (0, 30), (-10, 40), key=True, titles=T, family="DejaVu Serif", font=11)
    g("gp_percent", (0, 12), (0, 100), yfmt="%.0f%%", family="Nimbus Sans")
    g("gp_tics_out", (-10, 10), (0, 3), xtics="out", ytics="out")
    g("gp_linear", (0, 10), (0, 100), titles=("time (s)", "signal (mV)"))
    g("gp_negative", (-5, 5), (-1, 1))
    g("gp_decimals", (0, 1), (0, 0.5), xfmt="%.1f", yfmt="%.2f")
    g("gp_grid", (0, 100), (-20, 20), grid=True, titles=("frequency (Hz)", "gain", "Response"))
    g("gp_noborder", (0, 40), (0, 60), border=False, titles=("frequency (Hz)", "gain", "Response"))
    g("gp_noborder_grid", (-3, 3), (-9, 9), border=False, grid=True)
    g("gp_small_font", (0, 500), (0, 2000), font=8)
    g("gp_large_font", (0, 8), (-4, 4), font=14, margins=(0.15, 0.14, 0.94, 0.92))
    g("gp_serif", (1, 7), (10, 70), family="DejaVu Serif")
    g("gp_ylog", (0, 10), (1, 1e5), ylog=True, titles=("time (s)", "signal (mV)"))
    g("gp_xlog", (1, 1e4), (0, 1), xlog=True)
    g("gp_loglog", (0.1, 1000), (1, 1e6), xlog=True, ylog=True, func="t")
    g("gp_ylog_power", (0, 5), (0.001, 1000), ylog=True, yfmt="10^{%L}")
    g("gp_sci", (0, 5e6), (0, 3e-3), xfmt="%.0e", yfmt="%.1e", margins=(0.16, 0.12, 0.94, 0.92))
    g("gp_times", (0, 4e5), (-2e4, 2e4), xfmt="%.1t×10^{%T}", yfmt="%h",
      margins=(0.16, 0.12, 0.94, 0.92), titles=("x", "y"))

    # Styles that draw no axis lines: a filled plot background, a grid, or
    # only tick marks and labels.
    m("mpl_ggplot", (0, 10), (0, 100), style="ggplot", titles=T)
    m("mpl_ggplot_ylog", (0, 20), (1, 1e4), ylog=True, style="ggplot", font=11)
    m("mpl_seaborn", (-5, 5), (-1, 1), style="seaborn-v0_8", titles=T)
    m("mpl_seaborn_dark", (0, 50), (0, 30), style="seaborn-v0_8-dark", font=11)
    m("mpl_seaborn_whitegrid_xlog", (1, 1e4), (0, 5), xlog=True, style="seaborn-v0_8-whitegrid")
    m("mpl_bmh", (0, 1), (0, 0.05), style="bmh", titles=TT)
    m("mpl_bmh_loglog", (0.01, 100), (1e-3, 10), xlog=True, ylog=True, curve=lambda s: s,
      style="bmh")
    m("mpl_fivethirtyeight", (0, 60), (-20, 40), style="fivethirtyeight", font=12,
      margins=(0.15, 0.14, 0.94, 0.92))
    m("mpl_fivethirtyeight_ylog", (0, 8), (0.1, 1000), ylog=True, style="fivethirtyeight", font=12,
      margins=(0.15, 0.14, 0.94, 0.92))
    m("mpl_light_grid", (-20, 40), (-8, 8), spines="none", grid="light", tick_length=0)
    m("mpl_light_grid_ylog", (0, 10), (1, 1e5), ylog=True, spines="none", grid="light",
      tick_length=0, font=11)
    g("gp_unset_border", (0, 40), (0, 60), border="none", titles=T)
    g("gp_unset_border_grid", (-3, 3), (-9, 9), border="none", grid=True)
    g("gp_unset_border_ylog", (0, 10), (1, 1e4), ylog=True, border="none", grid=True)

    photos = [
        ("photo_mpl_linear", "mpl_linear.png", [(10, 20), (-15, 5), (20, -10), (-5, -15)], (250, 170)),
        ("photo_mpl_negative", "mpl_negative.png", [(-20, 0), (25, 30), (0, -20), (-10, 10)], (240, 160)),
        ("photo_mpl_grid", "mpl_grid.png", [(30, 10), (0, 0), (-25, 10), (10, -20)], (255, 150)),
        ("photo_mpl_ylog", "mpl_ylog.png", [(0, 35), (10, -10), (0, 0), (20, -25)], (230, 190)),
        ("photo_mpl_serif", "mpl_serif.png", [(15, -10), (-10, 15), (15, -5), (0, 10)], (250, 140)),
        ("photo_mpl_decimals", "mpl_decimals.png", [(-25, 25), (5, -5), (-10, 0), (25, -15)], (245, 175)),
        ("photo_gp_linear", "gp_linear.png", [(20, 15), (-20, 25), (0, -10), (10, 0)], (250, 160)),
        ("photo_gp_grid", "gp_grid.png", [(0, -20), (15, 20), (-30, 0), (5, 10)], (235, 180)),
        ("photo_gp_ylog", "gp_ylog.png", [(5, 30), (-25, 0), (15, 15), (-10, -25)], (250, 150)),
        ("photo_mpl_nospines", "mpl_nospines.png", [(10, -10), (-20, 10), (10, 15), (-15, 0)], (245, 170)),
        ("photo_gp_negative", "gp_negative.png", [(-10, -10), (20, 5), (-5, 20), (15, -5)], (240, 165)),
    ]
    by_file = {c["file"]: c for c in charts}
    for i, (name, page, tilt, light) in enumerate(photos):
        charts.append(photograph(out, by_file[page], name, tilt, light, seed=i))

    # Keep the committed pictures small: a palette is plenty for a chart.
    for c in charts:
        if c["file"].endswith(".png"):
            subprocess.run(["convert", os.path.join(out, c["file"]), "-colors", "64",
                            "PNG8:" + os.path.join(out, c["file"])], check=True)
    # Labels no reading can take for numbers: refused, and saying why.
    refusals = {"mpl_months.png": "the tick labels are not numbers (names or dates)",
                "mpl_rotated.png": "the tick labels are slanted"}
    for c in charts:
        if c["file"] in refusals:
            c["refusal"] = refusals[c["file"]]
    with open(os.path.join(out, "charts.json"), "w") as f:
        json.dump(charts, f, indent=1)
        f.write("\n")


if __name__ == "__main__":
    main()

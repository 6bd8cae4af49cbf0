#!/usr/bin/python3
"""Draws the date-axis fixture: a time series over February and March 2024
(a leap day, and the daylight saving changes of New York and Berlin) on an
axis frame at known pixels, and writes its project beside it.

Run with Debian's Python (matplotlib): /usr/bin/python3 tools/make_date_fixture.py
Writes tests/data/dates/date_chart.png and date_chart.quillfen.json.
"""
import datetime as dt
import json
import os

import matplotlib

matplotlib.use("Agg")
import matplotlib.dates as mdates
import matplotlib.pyplot as plt

OUT = os.path.join(os.path.dirname(__file__), "..", "tests", "data", "dates")
W, H = 660, 300
LEFT, RIGHT, TOP, BOTTOM = 70, 610, 40, 240  # the axis frame, image pixels
UTC = dt.timezone.utc
X0 = dt.datetime(2024, 2, 20, tzinfo=UTC)
DAYS = 45  # to 2024-04-05: 2 hours a pixel
Y0, Y1 = 0.0, 20.0  # 0.1 a pixel
# Points at days after X0 whose pixels are whole: noon of the days around the
# leap day and of both changes of the clocks.
POINT_DAYS = [2, 8.5, 9.5, 10.5, 19.5, 30, 40.5]


def y_of(days):
    return 10 + 0.2 * days


def pixel(days):
    h = LEFT + days * (RIGHT - LEFT) / DAYS
    v = BOTTOM - (y_of(days) - Y0) * (BOTTOM - TOP) / (Y1 - Y0)
    assert h == int(h) and abs(v - round(v)) < 1e-9, (days, h, v)
    return [int(h), int(round(v))]


def main():
    os.makedirs(OUT, exist_ok=True)
    fig = plt.figure(figsize=(W / 100, H / 100), dpi=100)
    ax = fig.add_axes([LEFT / W, 1 - BOTTOM / H, (RIGHT - LEFT) / W, (BOTTOM - TOP) / H])
    x1 = X0 + dt.timedelta(days=DAYS)
    ax.set_xlim(X0, x1)
    ax.set_ylim(Y0, Y1)
    ax.plot([X0, x1], [y_of(0), y_of(DAYS)], color="tab:blue", linewidth=1)
    days = POINT_DAYS
    ax.plot([X0 + dt.timedelta(days=d) for d in days], [y_of(d) for d in days], "o",
            color="tab:red", markersize=4)
    ax.xaxis.set_major_locator(mdates.DayLocator(bymonthday=[1, 10, 20]))
    ax.xaxis.set_major_formatter(mdates.DateFormatter("%Y-%m-%d", tz=UTC))
    for label in ax.get_xticklabels():
        label.set_fontsize(7)
    ax.set_ylabel("value")
    fig.savefig(os.path.join(OUT, "date_chart.png"), dpi=100)

    iso = lambda t: t.strftime("%Y-%m-%dT%H:%M:%SZ")
    project = {
        "format": "quillfen-project",
        "version": 2,
        "image": "date_chart.png",
        "axis": {
            "rect": [LEFT, TOP, RIGHT, BOTTOM],
            "xMin": iso(X0),
            "xMax": iso(x1),
            "xLog": False,
            "xTime": True,
            "yMin": Y0,
            "yMax": Y1,
            "yLog": False,
        },
        "points": [pixel(d) for d in days],
        "fit": {"model": "polynomial", "degree": 1, "graphPointCount": DAYS + 1},
    }
    with open(os.path.join(OUT, "date_chart.quillfen.json"), "w") as f:
        json.dump(project, f, indent=2)
        f.write("\n")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Prints each row of a CSV file as Python's csv module reads it, fields
joined by '|': how a script on a UTF-8 system meets the file."""
import csv
import sys

with open(sys.argv[1], newline="", encoding="utf-8") as f:
    for row in csv.reader(f):
        print("|".join(row))

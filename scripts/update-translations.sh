#!/usr/bin/env bash
# Refreshes translations/*.ts from the texts marked in src/ (tr(),
# QCoreApplication::translate, qf::translate, QT_TRANSLATE_NOOP). New texts
# come in unfinished: give them their translation (Qt Linguist, or by hand)
# before committing; the test suite fails while an English one is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
"$lupdate" -silent -locations none -no-obsolete -extensions cpp,h src \
    -ts translations/quillfen_en.ts translations/quillfen_ja.ts

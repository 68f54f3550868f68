#!/bin/sh
# Qt stays in the Qt binding, the application and the Qt tests: no other source includes it.
# Usage: qt_includes.sh SOURCE_DIR
cd "$1"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
else
    files=$(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
found=$(echo "$files" | sed 's|^\./||' | grep -vE '^(platform/qt|app|tests/qt)/' |
    xargs grep -lE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' || true)
if [ -n "$found" ]; then
    echo "Qt included outside platform/qt/, app/ and tests/qt/:" >&2
    echo "$found" >&2
    exit 1
fi

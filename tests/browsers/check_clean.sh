#!/usr/bin/env bash
# Checks a browser-data tree after a clean; see check_clean.py for what it checks.
# Usage: check_clean.sh ROOT... --gone STR... --keep STR...   (exit 0 clean, 1 not, 2 misuse)
set -euo pipefail
command -v python3 >/dev/null || {
    echo "check_clean: python3 is missing" >&2
    exit 2
}
exec python3 "$(dirname "$0")/check_clean.py" "$@"

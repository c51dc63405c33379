"""Runs one group of end-to-end scenarios:

    run_suite.py BUILD_DIR OUT_DIR GROUP [SCENARIO...]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from session import run  # noqa: E402

if __name__ == "__main__":
    sys.exit(run(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]))

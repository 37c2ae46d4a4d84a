#!/usr/bin/env bash
# Installs what is missing, builds, and starts Varnello.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
exec build/varnello "$@"

#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tessivane from the program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ "$(id -u)" -eq 0 ]; then
  # The web engine's sandbox refuses to run as root.
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec build/app/Tessivane "$@"

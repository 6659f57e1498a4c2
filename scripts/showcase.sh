#!/bin/bash
# Builds the module and runs the showcase, which writes its plots into
# showcase/ (see the list it prints).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
mkdir -p showcase
cd showcase
perl -I ../build/blib/lib -I ../build/blib/arch ../examples/showcase.pl

#!/usr/bin/env bash
# Draws the program's wiring from the code: builds tools/schemegraph (win64),
# which builds the main scheme and its sub-schemes under Wine and writes their
# links as docs/architecture.dot, then renders docs/architecture.svg with
# Graphviz's dot. Run it after changing a scheme: the win64 test
# schemegraph_matches_docs fails while the committed graph is older than the code.
# Graphviz is not among the packages the build needs: apt-get install graphviz.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/setup.sh

command -v dot >/dev/null || { echo "draw-wiring: Graphviz's dot is missing (apt-get install graphviz)" >&2; exit 1; }
tervik_install_packages
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target schemegraph
tervik_wine_prefix
scripts/wine-run.sh build/win64/tools/schemegraph.exe "Z:$root/docs/architecture.dot"
dot -Tsvg docs/architecture.dot -o docs/architecture.svg
echo "docs/architecture.dot and docs/architecture.svg drawn"

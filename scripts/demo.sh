#!/usr/bin/env bash
# The main job on the bundled examples: builds the demo preset (qrhost and the
# two plug-ins only, into build/demo-build), makes an empty scene, imports two
# LightWave objects (LWOB and LWO2) and a DXF object into it with the Karvel
# plug-in, shows the scene, exports it to a DXF file with the Brask_Export
# plug-in, and renders a picture of it.
# Every dialog is answered from the command line, and every message box the
# plug-ins show is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh demo
cmake --preset demo >/dev/null
cmake --build --preset demo

bin=build/demo-build/bin
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo"
# A profile of its own, so the demo leaves the user's settings alone.
export QUARRION_PROFILE="$PWD/$demo/Quarrion.ini"

step() { printf '\n=== %s\n' "$*"; }

step "A new, empty scene"
"$bin/qrhost" new "$demo/host"

step "Import examples/crate.lwo (two surfaces: two parts)"
"$bin/qrhost" run Karvel --folder "$demo/host" --open examples/crate.lwo

step "Import examples/lamp.lwo (LWO2, two layers, three surfaces: three parts)"
"$bin/qrhost" run Karvel --folder "$demo/host" --open examples/lamp.lwo

step "Import examples/site.dxf (two layers: two parts)"
"$bin/qrhost" run Karvel --folder "$demo/host" --open examples/site.dxf

step "Import examples/crate.lwo again, updating the part \"Crate\" and adding \"Lid Frame\" anew"
"$bin/qrhost" run Karvel --folder "$demo/host" --open examples/crate.lwo --answer yes --answer no

step "The scene now"
"$bin/qrhost" dump "$demo/host/PlugIns/qrplugin.qrc"

step "Export the scene to DXF"
"$bin/qrhost" run Brask_Export --folder "$demo/host" --save "$demo/scene.dxf"

step "A picture of the scene (the README's docs/examples.png)"
"$bin/qrhost" render "$demo/host/PlugIns/qrplugin.qrc" -o "$demo/scene.png" --size 640x400 --edges

step "Done"
echo "The scene:      $demo/host/PlugIns/qrplugin.qrc  (qrhost dump shows it)"
echo "The DXF export: $demo/scene.dxf"
echo "The picture:    $demo/scene.png"

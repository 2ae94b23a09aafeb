#!/usr/bin/env bash
# The build as a user installs it, run with the installed programs only:
#   InstalledProgramsTest.sh CMAKE BUILD MODULEDIR EXAMPLES DRIVER
# installs BUILD into a temporary prefix (outside the build), registers each
# server module of MODULEDIR (relative to the prefix) with the installed
# regsvr into a temporary registry, creates a database with the installed
# tarsis, and lets the installed wizard convert the DSTV files of EXAMPLES,
# driven by the plugin DRIVER (copied out of the build first). Nothing the
# programs load, and no path they register, may lie in the build.
set -euo pipefail
cmake=$1 build=$2 moduledir=$3 examples=$4 driver=$5

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" \
  || { cat "$scratch/install.log" >&2; fail "cmake --install"; }
for file in bin/quillfen bin/regsvr bin/tarsis; do
  [ -x "$prefix/$file" ] || fail "$file is not installed"
done
[ "$(LC_ALL=C ls "$prefix/share/cadconversion")" = $'Quillfen.chm\ncatalog.csv' ] \
  || fail "share/cadconversion holds: $(ls "$prefix/share/cadconversion")"
# The server modules of the build (servers.txt), no test module among them.
built=$(xargs -n 1 basename <"$build/servers.txt" | LC_ALL=C sort)
installed=$(LC_ALL=C ls "$prefix/$moduledir")
[ "$installed" = "$built" ] || fail "$moduledir holds:
$installed
instead of:
$built"

# No RPATH of the install leads into the build (they are $ORIGIN-relative).
while IFS= read -r -d '' file; do
  if readelf -h "$file" >/dev/null 2>&1; then
    while IFS= read -r rpath; do
      case "$rpath" in
        "$build"*|*":$build"*) fail "$file has the RPATH $rpath into the build" ;;
      esac
    done < <(readelf -d "$file" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]/\2/p')
  fi
done < <(find "$prefix" -type f -print0)

export VLMR_REGISTRY=$scratch/registry TARSIS_DATABASE=$scratch/tarsis.db \
       XDG_DATA_HOME=$scratch/data
unset LD_LIBRARY_PATH LD_PRELOAD
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  mkdir -m 700 "$scratch/runtime"
  export XDG_RUNTIME_DIR=$scratch/runtime
fi

modules=("$prefix/$moduledir"/*.so)
[ -e "${modules[0]}" ] || fail "no server module in $moduledir"
for module in "${modules[@]}"; do
  "$prefix/bin/regsvr" "$module" || fail "regsvr $module"
done
if grep -rqF "$build" "$VLMR_REGISTRY"; then
  fail "the registry names the build: $(grep -rhF "$build" "$VLMR_REGISTRY" | head -n 3)"
fi
"$prefix/bin/tarsis" init || fail "tarsis init"

# The installed wizard with the user's hands.
mkdir -p "$scratch/plugins/generic"
cp "$driver" "$scratch/plugins/generic/"
files=$(printf '%s\n' "$examples"/*.nc1)
QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH=$scratch/plugins QT_QPA_GENERIC_PLUGINS=wizarddriver \
  WIZARD_DRIVER_FILES=$files WIZARD_DRIVER_LOG=$scratch/ConvertLog.Log \
  WIZARD_DRIVER_REPORT=$scratch/report WIZARD_DRIVER_FORBIDDEN=$build \
  "$prefix/bin/quillfen" || fail "quillfen exited with $?"
[ -f "$scratch/report" ] || fail "the wizard was not driven (no report)"
report=$(cat "$scratch/report")
echo "$report"
[ "$report" = $'converted\nhelp: sheet\nhelp: program' ] \
  || fail "the wizard's report differs from: converted, help: sheet, help: program"
log=$(tr -d '\r' <"$scratch/ConvertLog.Log")
count=0
for file in "$examples"/*.nc1; do
  grep -qxF "Converting File $file" <<<"$log" || fail "the log names no conversion of $file"
  count=$((count + 1))
done
[ "$(grep -c '^File Completed$' <<<"$log")" = "$count" ] && ! grep -q Aborted <<<"$log" \
  && [ "$(tail -n 1 <<<"$log")" = "CAD Conversion Completed" ] \
  || fail "the log does not show $count completed files:
$log"

parts=$("$prefix/bin/tarsis" parts list) || fail "tarsis parts list"
echo "$parts"
for part in "EX1 +G1 +B101" "EX1 +G1 +A201" "EX1 +G2 +C301"; do
  grep -Eq "$part" <<<"$parts" || fail "no part '$part' in the database"
done

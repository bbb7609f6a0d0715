#!/usr/bin/env bash
# Makes the Debian package from the build folder BUILD with cpack, unpacks it into a scratch folder
# and uses it from there as an installed program: its layout, its run paths, its desktop entry
# and file types, and fighost's info and window (offscreen) loading the package's own libraries.
# Usage: fighost_package_test.sh BUILD SOURCE [CPACK]
set -uo pipefail
build=$1 source=$2 cpack=${3:-cpack}
scratch=$(mktemp -d)
trap 'rm -rf "${scratch}"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

(cd "${build}" && "${cpack}" -G DEB -B "${scratch}/out" >"${scratch}/cpack.log" 2>&1) ||
  { cat "${scratch}/cpack.log"; echo "FAILED: cpack"; exit 1; }
packages=("${scratch}"/out/fighost_*.deb)
[ "${#packages[@]}" -eq 1 ] && [ -f "${packages[0]}" ] || { echo "FAILED: no one package"; exit 1; }
package=${packages[0]}
root=${scratch}/root
dpkg-deb -x "${package}" "${root}" || { echo "FAILED: dpkg-deb -x"; exit 1; }

# Every file where the desktop looks for it, and nothing else.
expected="usr/bin/fighost
usr/lib/fighost/libfighost_qt.so
usr/lib/fighost/libfigure.so
usr/lib/fighost/libfigure_toolkit.so
usr/lib/fighost/libpitools.so
usr/share/applications/fighost.desktop
usr/share/icons/hicolor/scalable/apps/fighost.svg
usr/share/mime/packages/fighost.xml"
actual=$(cd "${root}" && find . -type f | sed 's|^\./||' | sort)
[ "${actual}" = "${expected}" ] || fail "layout: got
${actual}"

# Run paths relative to the files themselves, none into the build folder.
for file in usr/bin/fighost $(cd "${root}" && ls usr/lib/fighost/*.so); do
  runpath=$(readelf -d "${root}/${file}" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p')
  case ${file} in
    usr/bin/fighost) want='$ORIGIN/../lib/fighost' ;;
    *) want='$ORIGIN' ;;
  esac
  [ "${runpath}" = "${want}" ] || fail "${file} run path '${runpath}', expected '${want}'"
done

depends=$(dpkg-deb --field "${package}" Depends)
for needed in libc6 libqt6widgets6 libqt6svg6; do
  [[ ${depends} == *"${needed} "* ]] || fail "Depends lacks ${needed}: ${depends}"
done
[[ ${depends} != *pitools* && ${depends} != *figure* ]] || fail "Depends names its own libraries"

desktop-file-validate "${root}/usr/share/applications/fighost.desktop" ||
  fail "desktop-file-validate"

# The desktop tells the module's files by their names and, for .fig (XFig's too), their first line.
if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
  mkdir -p "${scratch}/data"
  cp -r "${root}/usr/share/mime" "${scratch}/data/"
  update-mime-database "${scratch}/data/mime" >/dev/null || fail "update-mime-database"
  cp "${source}/examples/walk.fig" "${source}/examples/human.bvh" "${scratch}/"
  printf '#FIG 3.2\n' >"${scratch}/drawing.fig"
  for pair in walk.fig:model/x-stick-figure human.bvh:model/x-bvh drawing.fig:image/x-xfig; do
    type=$(XDG_DATA_DIRS="${scratch}/data:/usr/share" XDG_DATA_HOME="${scratch}/none" \
      gio info -a standard::content-type "${scratch}/${pair%%:*}" | sed -n 's/.*content-type: //p')
    [ "${type}" = "${pair#*:}" ] || fail "${pair%%:*} is '${type}', expected ${pair#*:}"
  done
fi

# fighost from the scratch folder, run from elsewhere, loads the package's libraries only.
cd "${scratch}" || exit 1
cp "${source}/examples/human.bvh" "${scratch}/walk.bvh"
LD_DEBUG=files "${root}/usr/bin/fighost" info walk.bvh >info.txt 2>loads.txt || fail "fighost info"
grep -q '^limbs *25$' info.txt || fail "info: $(head -5 info.txt)"
QT_QPA_PLATFORM=offscreen LD_DEBUG=files "${root}/usr/bin/fighost" open walk.bvh --frame 30 \
  --screenshot window.png >/dev/null 2>>loads.txt || fail "fighost open --screenshot"
[ "$(head -c 8 window.png | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  fail "the screenshot is no PNG picture"
for library in libfigure.so libpitools.so libfighost_qt.so; do
  grep -q "file=[^ ]*/usr/bin/../lib/fighost/${library} \|file=${root}/usr/lib/fighost/${library} " \
    loads.txt || grep -q "file=${library} .*needed by ${root}" loads.txt ||
    fail "${library} not loaded from the package"
done
if grep "file=${build}" loads.txt; then fail "a library was loaded from the build folder"; fi

[ "${failures}" -eq 0 ] && echo "package ${package##*/}: $(stat -c %s "${package}") bytes; ${depends}"
exit $((failures != 0))

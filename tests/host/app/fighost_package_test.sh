#!/usr/bin/env bash
# Makes the Debian package from the build folder BUILD with cpack, unpacks it into a scratch folder
# and uses it from there as an installed program: its layout, its run paths, its desktop entry
# and file types, and fighost's info and window (offscreen) loading the package's own libraries;
# lintian (when installed) and the software-centre entry's check, the thumbnailer's command line
# on a capture and on a picture, and the manual page against --help.
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
usr/share/doc/fighost/README.md.gz
usr/share/doc/fighost/changelog.gz
usr/share/doc/fighost/copyright
usr/share/icons/hicolor/scalable/apps/fighost.svg
usr/share/man/man1/fighost.1.gz
usr/share/metainfo/example.c_seed_1e86646b.fighost.metainfo.xml
usr/share/mime/packages/fighost.xml
usr/share/thumbnailers/fighost.thumbnailer"
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

# Debian's checker: no error, no warning, nothing at all to say.
if command -v lintian >/dev/null; then
  as_root=()
  [ "$(id -u)" -ne 0 ] || as_root=(--allow-root)
  said=$(lintian "${as_root[@]}" "${package}" 2>&1) || fail "lintian failed"
  [ -z "${said}" ] || fail "lintian says:
${said}"
fi
for control in postinst postrm preinst prerm; do
  dpkg-deb --ctrl-tarfile "${package}" | tar -t | grep -qx "./${control}" &&
    fail "the package has a ${control} script"
done

# The licence, in Debian's format, is LICENSE's; the change log is of this version.
copyright=${root}/usr/share/doc/fighost/copyright
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "${copyright}" || fail "copyright is not in the machine-readable format"
licence=$(sed -n '/^Permission is hereby granted/,$p' "${source}/LICENSE" | sed 's/^$/./')
packaged=$(sed -n '/^License: Expat$/,$p' "${copyright}" | sed -n '/^ Permission/,$p' | sed 's/^ //')
[ -n "${licence}" ] && [ "${licence}" = "${packaged}" ] || fail "copyright lacks LICENSE's text"
grep -qx "Copyright: $(sed -n 's/^Copyright (c) //p' "${source}/LICENSE")" "${copyright}" ||
  fail "copyright lacks LICENSE's holder"
version=$(dpkg-deb --field "${package}" Version)
changed=$(dpkg-parsechangelog -l "${root}/usr/share/doc/fighost/changelog.gz" -S Version 2>&1)
[ "${changed}" = "${version}" ] || fail "the change log is of version '${changed}', not ${version}"

# Software centres' entry.
metainfo=${root}/usr/share/metainfo/example.c_seed_1e86646b.fighost.metainfo.xml
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "${metainfo}" >"${scratch}/appstream.txt" 2>&1 ||
    fail "appstreamcli validate: $(cat "${scratch}/appstream.txt")"
fi
for needed in '<launchable type="desktop-id">fighost.desktop</launchable>' \
  '<mediatype>model/x-bvh</mediatype>' '<mediatype>model/x-stick-figure</mediatype>' \
  "<release version=\"${version}\"" '/fighost-window.png</image>'; do
  grep -qF "${needed}" "${metainfo}" || fail "the metainfo lacks ${needed}"
done

# The manual page names every command and every option that --help gives, and man formats it
# without a warning.
fighost=${root}/usr/bin/fighost
manual=${scratch}/manual.txt
MANWIDTH=100 man --warnings -l "${root}/usr/share/man/man1/fighost.1.gz" 2>"${scratch}/man.txt" |
  col -b >"${manual}"
[ ! -s "${scratch}/man.txt" ] || fail "man warns: $(cat "${scratch}/man.txt")"
commands=$("${fighost}" --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }')
[ -n "${commands}" ] || fail "fighost --help lists no command"
for command in ${commands}; do
  section=$(awk -v title="$(echo "${command}" | tr '[:lower:]' '[:upper:]')" \
    '$0 == title { on = 1; next } /^[A-Z]/ { on = 0 } on' "${manual}")
  [ -n "${section}" ] || fail "the manual page has no section ${command}"
  # "  -o, --output OUT     the file to write" gives "--output OUT".
  "${fighost}" "${command}" --help |
    awk '/^ +-/ { sub(/^ +/, ""); sub(/^-., /, ""); sub(/  .*/, ""); print }' >"${scratch}/options.txt"
  [ -s "${scratch}/options.txt" ] || fail "fighost ${command} --help lists no option"
  # Each option begins a line of its own, as an entry of the list.
  entries=$(printf '%s\n' "${section}" | sed 's/^ *//; s/^-., //')
  while read -r option; do
    printf '%s\n' "${entries}" | awk -v option="${option}" \
      'index($0, option " ") == 1 || $0 == option { found = 1 } END { exit !found }' ||
      fail "the manual page lacks ${command} ${option}"
  done <"${scratch}/options.txt"
  usage=$("${fighost}" "${command}" --help | sed -n 's/^Usage: //p')
  tr -s ' \n' ' ' <"${manual}" | grep -qF "${usage}" || fail "the manual page lacks: ${usage}"
done

# The desktop tells the module's files by their names and, for .fig (XFig's too), their first
# line: the package's file types with the system's, in one database as once installed.
if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
  mkdir -p "${scratch}/data/mime/packages" "${scratch}/none"
  cp /usr/share/mime/packages/*.xml "${root}/usr/share/mime/packages/fighost.xml" \
    "${scratch}/data/mime/packages/"
  update-mime-database "${scratch}/data/mime" >/dev/null 2>&1 || fail "update-mime-database"
  cp "${source}/examples/walk.fig" "${source}/examples/human.bvh" "${scratch}/"
  printf '#FIG 3.2\n' >"${scratch}/x.fig"
  types() {
    XDG_DATA_DIRS="${scratch}/data" XDG_DATA_HOME="${scratch}/none" "$@"
  }
  for pair in walk.fig:model/x-stick-figure human.bvh:model/x-bvh x.fig:image/x-xfig; do
    type=$(types gio info -a standard::content-type "${scratch}/${pair%%:*}" |
      sed -n 's/.*content-type: //p')
    [ "${type}" = "${pair#*:}" ] || fail "gio: ${pair%%:*} is '${type}', expected ${pair#*:}"
  done
  # xdg-mime outside a desktop session asks the database's names first: an XFig drawing is
  # still XFig's.
  if command -v xdg-mime >/dev/null; then
    for pair in human.bvh:model/x-bvh x.fig:image/x-xfig; do
      type=$(types env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION xdg-mime query filetype \
        "${scratch}/${pair%%:*}")
      [ "${type}" = "${pair#*:}" ] || fail "xdg-mime: ${pair%%:*} is '${type}', expected ${pair#*:}"
    done
  fi
fi

# The thumbnailer's own command line, as a file manager runs it: a picture of the figure at the
# size asked, and for a file that holds no figure a failure that writes nothing.
thumbnailer=${root}/usr/share/thumbnailers/fighost.thumbnailer
grep -qx 'MimeType=model/x-bvh;model/x-stick-figure;' "${thumbnailer}" ||
  fail "the thumbnailer is not for the figure types"
exec_line=$(sed -n 's/^Exec=//p' "${thumbnailer}")
[ "$(sed -n 's/^TryExec=//p' "${thumbnailer}")" = fighost ] || fail "thumbnailer TryExec"
thumbnail() {  # INPUT SIZE OUTPUT: runs the Exec line with the file manager's % codes replaced
  local word words=()
  for word in ${exec_line}; do
    case ${word} in
      fighost) word=${fighost} ;;
      %i) word=$1 ;;
      %s) word=$2 ;;
      %o) word=$3 ;;
    esac
    words+=("${word}")
  done
  env -u DISPLAY -u WAYLAND_DISPLAY "${words[@]}"
}
cp /usr/share/assimp/models/BVH/01_01.bvh "${scratch}/capture.bvh" 2>/dev/null ||
  cp "${source}/examples/human.bvh" "${scratch}/capture.bvh"
mkdir -p "${scratch}/thumbnails"
thumbnail "${scratch}/capture.bvh" 256 "${scratch}/thumbnails/capture.png" ||
  fail "no thumbnail of a capture"
[ "$(file -b --mime-type "${scratch}/thumbnails/capture.png" 2>/dev/null)" = image/png ] &&
  [[ $(file -b "${scratch}/thumbnails/capture.png") == *"256 x 256"* ]] ||
  fail "the capture's thumbnail is no 256-pixel PNG: $(file -b "${scratch}/thumbnails/capture.png")"
thumbnail "${scratch}/walk.fig" 128 "${scratch}/thumbnails/walk.png" &&
  [[ $(file -b "${scratch}/thumbnails/walk.png") == *"128 x 128"* ]] || fail "no thumbnail of a .fig"
cp "${source}/docs/fighost-window.png" "${scratch}/picture.png"
if thumbnail "${scratch}/picture.png" 256 "${scratch}/thumbnails/picture.png" 2>"${scratch}/no.txt"; then
  fail "a thumbnail of a PNG picture was made"
fi
grep -q "holds no figure" "${scratch}/no.txt" || fail "thumbnail of a PNG: $(cat "${scratch}/no.txt")"
[ -z "$(ls "${scratch}/thumbnails" | grep -v '^capture.png$\|^walk.png$')" ] ||
  fail "a failed thumbnail left $(ls "${scratch}/thumbnails")"

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

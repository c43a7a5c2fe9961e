#!/usr/bin/env bash
# Checks an installed Wingtucker, away from the build folder:
#   installed_tree_test.sh install BUILD   cmake --install into a prefix with a space
#   installed_tree_test.sh deb BUILD       cpack -G DEB, then dpkg-deb -x
# then runs the installed wingtucker-config, and the installed hostide on a
# private Xvfb with a script that presses Start: the default add-in must load
# (with its hook library beside it) and tuck both windows. Last, without the
# hook library, hostide must name the missing file.
set -euo pipefail
mode=$1
build=$2
work=$(mktemp -d /tmp/wt-installed-XXXXXX)
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

case "$mode" in
  install)
    prefix="$work/pre fix"
    cmake --install "$build" --prefix "$prefix" >/dev/null
    ;;
  deb)
    (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null) ||
      fail "cpack could not make the package"
    deb=$(ls "$work"/pkg/wingtucker_*.deb 2>/dev/null | head -n1)
    [ -n "$deb" ] || fail "no package was made"
    info=$(dpkg-deb --info "$deb")
    for field in Package Version Section Maintainer Depends Description; do
      grep -q "^ $field:" <<<"$info" || fail "the package has no $field field"
    done
    grep -q "^ Depends:.*libqt6widgets6" <<<"$info" || fail "Depends lacks the Qt libraries: $info"
    # Debian's own checker: every tag it prints is one the user guide explains.
    # Not for a sanitizer build, whose programs carry the sanitizer runtime's
    # run path: what users get is the normal build's package.
    if command -v lintian >/dev/null && ! grep -q -- '-fsanitize' "$build/CMakeCache.txt"; then
      tags=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null | grep -E '^[EW]: ' || true)
      while IFS= read -r tag; do
        [ -z "$tag" ] && continue
        name=$(awk '{print $3}' <<<"$tag")
        grep -q "\`$name\`" "$(dirname "$0")/../../docs/USER_GUIDE.md" ||
          fail "lintian: $tag (not explained in docs/USER_GUIDE.md)"
      done <<<"$tags"
    fi
    dpkg-deb -x "$deb" "$work/root"
    prefix="$work/root/usr"
    ;;
  *) fail "mode is install or deb" ;;
esac

# Only what a user runs or reads is installed.
leftovers=$(find "$prefix" -type f \( -name '*.a' -o -name '*_tests' -o -name '*bench*' -o -name 'wingtucker-snap' \))
[ -z "$leftovers" ] || fail "build leftovers installed: $leftovers"
libdir=$(dirname "$(find "$prefix" -name libwingtucker.so | head -n1)")
[ -f "$libdir/libruvazad1.so" ] || fail "the hook library is not beside the add-in"
runpath=$(readelf -d "$libdir/libwingtucker.so" | grep -E 'RUNPATH|RPATH' || true)
grep -q '\$ORIGIN' <<<"$runpath" || fail "the add-in's run path is not relative: $runpath"
grep -q "$build" <<<"$runpath" && fail "the add-in's run path names the build folder: $runpath"
# Every path an installed file names is where this installation put it (the
# package's paths are read under the folder it was unpacked into).
root=""
[ "$mode" = deb ] && root="$work/root"
named_exists() { [ -e "$root$1" ] || fail "$2 names $1, which was not installed"; }
for page in hostide.1 wingtucker-config.1; do
  [ -f "$prefix/share/man/man1/$page.gz" ] || fail "man page $page.gz missing"
  text=$(zcat "$prefix/share/man/man1/$page.gz")
  while IFS= read -r path; do
    named_exists "$path" "$page"
  done < <(grep -oE '^\.I (/.*/lib/wingtucker/[^ ]*)' <<<"$text" | sed 's/^\.I //')
  grep -q 'XDG_RUNTIME_DIR/wingtucker' <<<"$text" || fail "$page does not name the lock files' place"
done
addin_named="${prefix#$root}/lib/wingtucker/libwingtucker.so"
zcat "$prefix/share/man/man1/hostide.1.gz" | grep -qxF ".I $addin_named" ||
  fail "hostide(1) does not name the installed add-in $addin_named"
entry="$prefix/share/applications/hostide.desktop"
[ -f "$entry" ] || fail "desktop entry missing"
exec_path=$(sed -n 's/^Exec="\(.*\)"$/\1/p' "$entry")
icon_path=$(sed -n 's/^Icon=//p' "$entry")
named_exists "$exec_path" "the desktop entry's Exec"
named_exists "$icon_path" "the desktop entry's Icon"
# The runner: its page, its entry, its guardian beside the add-in.
[ -f "$prefix/share/man/man1/wingtucker.1.gz" ] || fail "man page wingtucker.1.gz missing"
[ -x "$prefix/lib/wingtucker/wingtucker-guard" ] || fail "wingtucker-guard missing beside the add-in"
entry="$prefix/share/applications/wingtucker.desktop"
[ -f "$entry" ] || fail "the runner's desktop entry is missing"
named_exists "$(sed -n 's/^Exec="\(.*\)"$/\1/p' "$entry")" "the runner's desktop entry's Exec"
version=$("$prefix/bin/wingtucker" --version) || fail "the installed wingtucker failed: $version"
[ "$version" = "wingtucker 1.2d" ] || fail "wingtucker --version printed: $version"

# The installed settings tool against a configuration directory of its own.
mkdir -p "$work/config/wingtucker" "$work/project"
printf '[Wingtucker]\ngwHideInspector=True\ngwHideDelphi=True\ngwSide=0\ngwAnimate=False\ngwDelay=200\ngwDisableOnFocusLoss=False\n' \
  >"$work/config/wingtucker/Wingtckr.ini"
shown=$(XDG_CONFIG_HOME="$work/config" "$prefix/bin/wingtucker-config" show) ||
  fail "wingtucker-config show failed"
grep -q "HideInspector" <<<"$shown" || fail "wingtucker-config show printed: $shown"

# Xvfb picks a free display number itself and writes it down once it listens.
# -noreset: a server that resets when its last client leaves refuses the
# next one for a moment (the installed-tree tests failed one run in four).
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
display=":$(head -n1 "$work/display")"

# The panel opens at the screen's centre: its Start button's middle is at (593, 393).
cat >"$work/start.script" <<SCRIPT
new-project $work/project/Demo.dpr
menu Tools|Wingtucker 1.2d
wait 400
click 593 393
wait 600
echo @started
rects
quit
SCRIPT
run_host() {
  env -u WINGTUCKER_PLATFORM DISPLAY="$display" XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=dummy \
    timeout 60 "$prefix/bin/hostide" --script "$work/start.script" 2>&1
}
out=$(run_host) || fail "the installed hostide failed: $out"
grep -q "window TAppBuilder 0 -101 1024 5 mapped" <<<"$out" || fail "the main window was not tucked: $out"
grep -q "window TPropertyInspector -215 0 5 768 mapped" <<<"$out" || fail "the Inspector was not tucked: $out"

# Help on the panel opens the installed help page in the help viewer.
cat >"$work/help.script" <<SCRIPT
menu Tools|Wingtucker 1.2d
wait 400
click-button Help
wait 8000
quit
SCRIPT
# The help viewer is a window of 560 x 480 titled "Wingtucker Help"; a help
# page that cannot be found gives a message box of the same title instead.
help_viewer_shown() {
  env -u WINGTUCKER_PLATFORM DISPLAY="$display" XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=dummy \
    timeout 60 "$prefix/bin/hostide" --script "$work/help.script" >"$work/help.log" 2>&1 &
  local host=$! shown=""
  for _ in $(seq 80); do
    sleep 0.1
    if xwininfo -display "$display" -root -tree 2>/dev/null |
        grep -qE '"Wingtucker Help".* 560x480\+'; then shown=yes; break; fi
  done
  wait "$host" || fail "hostide failed while showing help: $(cat "$work/help.log")"
  [ -n "$shown" ]
}
help_viewer_shown || fail "Help did not open the installed help page: $(cat "$work/help.log")"
# Without the page the check must see the difference.
mv "$libdir/WINGTCKR.html" "$work/WINGTCKR.html.away"
help_viewer_shown && fail "the help check passed without an installed help page"
mv "$work/WINGTCKR.html.away" "$libdir/WINGTCKR.html"

# Without its hook library the add-in cannot load, and hostide says which file.
mv "$libdir/libruvazad1.so" "$work/libruvazad1.so.away"
out=$(run_host || true)
grep -q "libruvazad1.so" <<<"$out" || fail "a missing hook library was not named: $out"
echo "installed tree ($mode) works"

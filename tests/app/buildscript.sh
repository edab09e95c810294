#!/usr/bin/env bash
# build.sh as a newcomer meets it on a fresh machine, with apt-get, sudo, cmake, ctest, cpack,
# xvfb-run and the game stood in by stubs that write down how they were called: what each
# command installs and runs, what it says on a machine without a display, and what the
# PostgreSQL server is installed with. System files go to a folder of the test's own (SYSROOT).
#   buildscript.sh SOURCE_DIR
set -u
script=$1/build.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stubs=$work/stubs build=$work/build log=$work/log root=$work/root
mkdir -p "$stubs" "$build/src" "$root/usr/sbin"
failures=0
fail() { echo "buildscript: $*" >&2; failures=$((failures + 1)); }

stub() { # name, then the body of the stub after its call is logged
    printf '#!/bin/sh\necho "%s $*" >>"%s"\n%s\n' "$1" "$log" "${2:-}" >"$stubs/$1"
    chmod +x "$stubs/$1"
}
printf '#!/bin/sh\nexit 1\n' >"$stubs/dpkg-query" # nothing is installed yet
chmod +x "$stubs/dpkg-query"
stub sudo 'exec "$@"'
# shellcheck disable=SC2016 # expanded by the stub
stub id 'echo "${FAKE_UID:-0}"'
stub cmake
stub ctest
stub cpack 'touch vaskelio_3.0-1_amd64.deb vaskelio-share_3.0-1_amd64.deb'
stub xvfb-run
# What stands in the way of a service while apt installs.
stub apt-get "case \"\$*\" in *install*)
    grep -qx 'create_main_cluster = false' $root/etc/postgresql-common/createcluster.d/*.conf 2>/dev/null && echo '  no main cluster' >>'$log'
    [ -x $root/usr/sbin/policy-rc.d ] && { $root/usr/sbin/policy-rc.d; [ \$? -eq 101 ]; } && echo '  no service starts' >>'$log';;
esac
case \"\$*:\${HOW:-}\" in *postgresql-15*:fail) exit 100;; *postgresql-15*:kill) kill -TERM \$PPID; sleep 1;; esac
exit 0"
printf '#!/bin/sh\necho "game $*" >>"%s"\n' "$log" >"$build/src/vaskelio"
chmod +x "$build/src/vaskelio"

# Runs build.sh with the stubs; its standard error in $work/err, its status in $status.
run() {
    : >"$log"
    env PATH="$stubs:$PATH" BUILD_DIR="$build" SYSROOT="$root" "$@" >"$work/out" 2>"$work/err"
    status=$?
}
logged() { grep -q -- "$1" "$log" || fail "$2: no \"$1\" in: $(cat "$log")"; }
notlogged() { grep -q -- "$1" "$log" && fail "$2: \"$1\" in: $(grep -- "$1" "$log")"; }
installs() { grep '^apt-get .*install' "$log" | tr ' ' '\n'; }

# No display: said at once, before anything is installed or built, with the commands that work.
run env -u DISPLAY -u WAYLAND_DISPLAY "$script" run
[ "$status" -eq 1 ] || fail "run without a display: status $status"
[ -s "$log" ] && fail "run without a display still did: $(cat "$log")"
grep -qF "xvfb-run -a $build/src/vaskelio" "$work/err" || fail "no xvfb-run command: $(cat "$work/err")"
grep -qF './build.sh run --xvfb' "$work/err" || fail "no --xvfb offered: $(cat "$work/err")"

# --xvfb installs the X server too and starts the built game on it.
run env -u DISPLAY -u WAYLAND_DISPLAY "$script" run --xvfb
[ "$status" -eq 0 ] || fail "run --xvfb: status $status: $(cat "$work/err")"
installs | grep -qx xvfb || fail "run --xvfb installs no xvfb"
logged "cmake --build $build --parallel [0-9]* --target vaskelio" "run --xvfb"
logged "xvfb-run -a $build/src/vaskelio" "run --xvfb"

# With a display (Wayland's will do): the game itself, and no X server installed for it.
run env -u DISPLAY WAYLAND_DISPLAY=wayland-0 "$script" run
[ "$status" -eq 0 ] || fail "run: status $status"
logged "^game" "run"
installs | grep -qx xvfb && fail "run with a display installs xvfb"
for p in libzip-dev libzstd-dev libsqlite3-dev libxml2-dev; do
    installs | grep -qx "$p" || fail "run does not install $p, which the game's import needs"
done
run "$script" run --frobnicate
[ "$status" -eq 2 ] || fail "run --frobnicate: status $status"

# build: what building needs, and no test tool or database server.
run "$script" build
[ "$status" -eq 0 ] || fail "build: status $status"
for p in qt6-base-dev libmicrohttpd-dev libpq-dev libsqlite3-dev file; do
    installs | grep -qx "$p" || fail "build does not install $p"
done
for p in 'postgresql.*' xvfb lintian 'g++-mingw.*'; do
    installs | grep -qx "$p" && fail "build installs $p"
done
[ "$(grep -c '^apt-get update' "$log")" -eq 1 ] || fail "build: apt-get update more than once"

# test: the server's programs only, installed with no main cluster and no service started; the
# two files that see to it are gone afterwards.
run "$script" test
[ "$status" -eq 0 ] || fail "test: status $status: $(cat "$work/err")"
installs | grep -qx postgresql-15 || fail "test does not install postgresql-15"
installs | grep -qx postgresql && fail "test installs the postgresql metapackage"
grep -A2 'postgresql-15' "$log" | grep -q 'no main cluster' || fail "the server comes with a cluster"
grep -A2 'postgresql-15' "$log" | grep -q 'no service starts' || fail "services may start"
logged '^ctest' "test"
[ "$(grep -c '^apt-get update' "$log")" -eq 1 ] || fail "test: apt-get update more than once"
[ -e "$root/usr/sbin/policy-rc.d" ] && fail "policy-rc.d left behind"
[ -e "$root/etc/postgresql-common/createcluster.d" ] && fail "createcluster.d left behind"
# An install that fails or is cut short leaves neither behind.
for how in fail kill; do
    HOW=$how run "$script" test
    [ "$status" -ne 0 ] || fail "test went on after apt-get was made to $how"
    [ -e "$root/usr/sbin/policy-rc.d" ] && fail "policy-rc.d left behind after apt-get: $how"
    [ -e "$root/etc/postgresql-common/createcluster.d" ] && fail "createcluster.d left behind: $how"
done
# A policy the system has already is its own: kept as it was.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
run "$script" test
[ -x "$root/usr/sbin/policy-rc.d" ] || fail "the system's policy-rc.d was removed"

# install: the game's package, by its full path, through sudo only for a user.
run "$script" install
[ "$status" -eq 0 ] || fail "install: status $status: $(cat "$work/err")"
logged "cpack -G DEB" "install"
logged "apt-get install -y $build/vaskelio_3.0-1_amd64.deb" "install"
notlogged "vaskelio-share_" "install"
notlogged "^sudo" "install as root"
FAKE_UID=1000 run "$script" install
logged "^sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y $build/vaskelio_" "install as a user"
run "$script" package
logged "cpack -G DEB" "package"
installs | grep -q 'vaskelio_' && fail "package installs the package"

run "$script" frobnicate
[ "$status" -eq 2 ] || fail "an unknown command: status $status"

[ "$failures" -eq 0 ] || exit 1
echo "buildscript: run, build, test, package and install do what they say"

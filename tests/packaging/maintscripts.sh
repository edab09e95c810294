#!/usr/bin/env bash
# The maintainer scripts of vaskelio-share, run with the commands they call stood in by stubs
# that write down how they were called: what each does on installation, upgrade, removal and
# purge, with systemd running and without (a mount namespace of its own gives each run the /run
# it needs; without one, only the case of this machine is run).
#   maintscripts.sh SCRIPT_DIR
set -u
scripts=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stubs=$work/stubs log=$work/log
mkdir -p "$stubs"
failures=0
fail() { echo "maintscripts: $*" >&2; failures=$((failures + 1)); }

for name in adduser install systemctl deb-systemd-invoke; do
    printf '#!/bin/sh\necho "%s $*" >>"%s"\n' "$name" "$log" >"$stubs/$name"
done
# The user exists when USER_EXISTS is set; the unit was enabled unless WAS_ENABLED=1 (false).
# shellcheck disable=SC2016 # expanded by the stubs
printf '#!/bin/sh\necho "getent $*" >>"%s"\n[ -n "${USER_EXISTS:-}" ]\n' "$log" >"$stubs/getent"
# shellcheck disable=SC2016
printf '#!/bin/sh\necho "deb-systemd-helper $*" >>"%s"\n[ "$2" = was-enabled ] && exit "${WAS_ENABLED:-0}"\nexit 0\n' \
    "$log" >"$stubs/deb-systemd-helper"
chmod +x "$stubs"/*

namespace=
for try in "unshare -m" "unshare -rm"; do
    if $try sh -c 'mount -t tmpfs tmpfs /run' 2>/dev/null; then
        namespace=$try
        break
    fi
done
host=no
[ -d /run/systemd/system ] && host=yes

# run SYSTEMD(yes|no) SCRIPT ARGS...: true when it could be run so; $status is its exit status.
run() {
    local systemd=$1 script=$scripts/$2
    shift 2
    : >"$log"
    if [ -n "$namespace" ]; then
        # shellcheck disable=SC2016 # expanded by that shell
        $namespace sh -c 'mount -t tmpfs tmpfs /run && { [ "$0" = no ] || mkdir -p /run/systemd/system; } && exec "$@"' \
            "$systemd" env PATH="$stubs:$PATH" "$script" "$@"
    elif [ "$systemd" = "$host" ]; then
        env PATH="$stubs:$PATH" "$script" "$@"
    else
        return 1
    fi
    status=$?
}
logged() { grep -qx -- "$1" "$log" || fail "$2: no \"$1\" in: $(tr '\n' ';' <"$log")"; }
notlogged() { grep -q -- "$1" "$log" && fail "$2: \"$1\" in: $(tr '\n' ';' <"$log")"; }
# The line number of the first call matching $1.
line() { grep -n -- "$1" "$log" | head -n 1 | cut -d: -f1; }

for name in postinst prerm postrm; do
    script=$scripts/$name
    [ -x "$script" ] || { fail "$name is missing or not executable"; continue; }
    [ "$(head -n 1 "$script")" = "#!/bin/sh" ] || fail "$name is not a /bin/sh script"
    grep -qx 'set -e' "$script" || fail "$name does not stop at a failure (set -e)"
    sh -n "$script" || fail "$name: sh -n finds a syntax error"
    if command -v dash >/dev/null; then dash -n "$script" || fail "$name: dash -n"; fi
    grep -q 'rm -rf\|deluser\|userdel' "$script" && fail "$name removes the reviewers' data or user"
done

unit=vaskelio-share.service
# A first installation: the user made, the unit enabled, systemd reloaded and then the unit started.
if run yes postinst configure ""; then
    [ "$status" -eq 0 ] || fail "postinst configure: status $status"
    logged "getent passwd vaskelio-share" "first installation"
    grep -q '^adduser --system --group .*--home /var/lib/vaskelio-share .*vaskelio-share$' "$log" ||
        fail "first installation: no system user made: $(tr '\n' ';' <"$log")"
    [ -d /var/lib/vaskelio-share ] ||
        logged "install -d -o vaskelio-share -g vaskelio-share -m 0700 /var/lib/vaskelio-share" \
            "first installation"
    logged "deb-systemd-helper unmask $unit" "first installation"
    logged "deb-systemd-helper enable $unit" "first installation"
    logged "systemctl --system daemon-reload" "first installation"
    logged "deb-systemd-invoke start $unit" "first installation"
    [ "$(line daemon-reload)" -lt "$(line 'deb-systemd-invoke start')" ] ||
        fail "first installation: the unit starts before systemd has read it"
fi
# An upgrade: the user is there, a unit the administrator disabled stays so, and it restarts.
if USER_EXISTS=1 WAS_ENABLED=1 run yes postinst configure 3.0-1; then
    notlogged "^adduser" "upgrade"
    notlogged "deb-systemd-helper enable" "upgrade of a disabled unit"
    logged "deb-systemd-helper update-state $unit" "upgrade"
    logged "deb-systemd-invoke restart $unit" "upgrade"
fi
# Without systemd (a container, a chroot): enabled for a later boot, nothing started.
if run no postinst configure ""; then
    [ "$status" -eq 0 ] || fail "postinst without systemd: status $status"
    logged "deb-systemd-helper enable $unit" "installation without systemd"
    notlogged "^systemctl" "installation without systemd"
    notlogged "^deb-systemd-invoke" "installation without systemd"
fi
# Removal stops the service and masks the unit; an upgrade leaves it running for postinst.
if run yes prerm remove; then
    logged "deb-systemd-invoke stop $unit" "prerm remove"
fi
if run yes prerm upgrade 3.0-2; then
    [ -s "$log" ] && fail "prerm upgrade stops the service: $(tr '\n' ';' <"$log")"
fi
if run no prerm remove; then
    notlogged "^deb-systemd-invoke" "prerm remove without systemd"
fi
if run yes postrm remove; then
    [ "$status" -eq 0 ] || fail "postrm remove: status $status"
    logged "systemctl --system daemon-reload" "postrm remove"
    logged "deb-systemd-helper mask $unit" "postrm remove"
    notlogged "deb-systemd-helper purge" "postrm remove"
fi
if run no postrm purge; then
    [ "$status" -eq 0 ] || fail "postrm purge: status $status"
    logged "deb-systemd-helper purge $unit" "postrm purge"
    logged "deb-systemd-helper unmask $unit" "postrm purge"
    notlogged "^systemctl" "postrm purge without systemd"
fi
# Anything dpkg may add later is no failure.
if run no postinst triggered; then
    [ "$status" -eq 0 ] || fail "postinst triggered: status $status"
fi

[ -n "$namespace" ] || echo "maintscripts: no mount namespace here; only systemd=$host was run"
[ "$failures" -eq 0 ] || exit 1
echo "maintscripts: postinst, prerm and postrm do what dh_installsystemd's would"

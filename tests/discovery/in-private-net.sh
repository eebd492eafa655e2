#!/bin/sh
# Runs a test program in a network and mount namespace of its own: loopback up,
# a veth pair carrying the default route (so the limited broadcast has a way
# out that ends inside the namespace), and a resolv.conf naming loopback, so
# that no lookup leaves the namespace. All of it goes when the program ends.
set -e
exec unshare -n -m sh -c '
    set -e
    ip link set lo up
    ip link add lan0 type veth peer name lan1
    ip addr add 10.99.0.1/24 dev lan0
    ip link set lan0 up
    ip link set lan1 up
    ip route add default dev lan0
    resolv=$(mktemp)
    trap "rm -f $resolv" EXIT
    echo "nameserver 127.0.0.1" >"$resolv"
    mount --make-rprivate /
    mount --bind "$resolv" /etc/resolv.conf
    "$@"
' sh "$@"

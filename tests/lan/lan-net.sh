#!/bin/bash
# A simulated LAN for one test: COUNT network namespaces PREFIX-h1 … PREFIX-hCOUNT,
# each with one interface eth0 at 10.77.0.<n>/24 and no default route, all
# joined by a bridge inside a namespace of its own, PREFIX-br. The veth pairs
# are made inside the namespaces: nothing touches the host's interfaces.
#
#   lan-net.sh PREFIX COUNT
#
# Prints "ready" once the LAN is up, then waits until its standard input
# closes (the test ended, however it ended) and takes everything apart: every
# process still inside the namespaces is killed by its id and the namespaces
# are deleted. The trap does the same when this script is stopped or fails.
# Namespaces of earlier runs whose test process is gone (named gfl<PID>-…)
# are swept away first.
set -u
prefix=$1
count=$2
made=()

teardown() {
    for ns in "${made[@]}"; do
        for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -KILL "$pid" 2>/dev/null; done
    done
    for ns in "${made[@]}"; do ip netns del "$ns" 2>/dev/null; done
    made=()
}
trap teardown EXIT
trap 'exit 1' TERM INT HUP PIPE

# Leftovers of runs that were killed outright (their owner's PID is in the name).
for ns in $(ip netns list 2>/dev/null | awk '{print $1}' | grep -E '^gfl[0-9]+-'); do
    owner=${ns#gfl}
    owner=${owner%%-*}
    if ! kill -0 "$owner" 2>/dev/null; then
        for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -KILL "$pid" 2>/dev/null; done
        ip netns del "$ns" 2>/dev/null
    fi
done

run() { "$@" || { echo "failed: $*" >&2; exit 1; }; }

bridge=${prefix}-br
run ip netns add "$bridge"
made+=("$bridge")
run ip netns exec "$bridge" ip link set lo up
run ip netns exec "$bridge" ip link add br0 type bridge
run ip netns exec "$bridge" ip link set br0 up
for ((n = 1; n <= count; n++)); do
    ns=${prefix}-h$n
    run ip netns add "$ns"
    made+=("$ns")
    run ip netns exec "$ns" ip link set lo up
    run ip netns exec "$ns" ip link add eth0 type veth peer name p$n netns "$bridge"
    run ip netns exec "$ns" ip addr add 10.77.0.$n/24 dev eth0
    run ip netns exec "$ns" ip link set eth0 up
    run ip netns exec "$bridge" ip link set p$n master br0
    run ip netns exec "$bridge" ip link set p$n up
done
# No namespace may have a way out of the LAN.
for ((n = 1; n <= count; n++)); do
    if ip netns exec "${prefix}-h$n" ip route show default | grep -q .; then
        echo "failed: ${prefix}-h$n has a default route" >&2
        exit 1
    fi
done
echo ready
while read -r _; do :; done

#!/usr/bin/env bash
# How close a download comes to the line's own speed. A 16 KB memory module (size code 0x70,
# 16 XModem-1K packets) is downloaded from the simulated unit at 9600 baud, and the XModem part
# is timed against the wire time of its packets. For comparison lrzsz moves the same file, sx -k
# to rx -c, through a relay that paces the sending side at the same rate; and our download runs a
# second time through that same relay from an unpaced unit, so that one pacer stands behind both
# figures of that pair.
#
# Pacing: the unit's --baud sleeps the byte time before each byte it writes (sleep overshoot makes
# it a little slow); the relay holds each byte until its slot on an exact schedule, so a byte
# arrives once it has been "on the wire". Answers the other way (ACK, 'C', keystrokes) pass at
# once in both. Not run by CI.
#
# usage: bench/transfer-speed.sh [BUILD_DIR] [BAUD]    (defaults: build, 9600)
set -euo pipefail

build=${1:-build}
baud=${2:-9600}
cli=$(cd "$build" && pwd)/src/cli/tolvane-cli
[ -x "$cli" ] || { echo "no tolvane-cli in $build (build it first)" >&2; exit 1; }
for program in sx rx python3; do
    command -v "$program" >/dev/null || { echo "$program is needed" >&2; exit 1; }
done

work=$(mktemp -d /tmp/tolvane-speed-XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# The helper: the image, the paced relay, the lrzsz run and the timing of our log.
cat >"$work/pace.py" <<'PY'
import io, os, pty, select, subprocess, sys, time, tty

def image(path):
    data = bytearray(os.urandom(16384))
    data[0:2] = b" U"
    data[2] = 0x70
    data[14:17] = b"500"
    open(path, "wb").write(data)

def pair():
    master, slave = pty.openpty()
    tty.setraw(slave)
    return master, slave

def relay(paced, direct, baud, running):
    """Bytes from paced to direct on the wire's schedule, the other way at once."""
    slot = 10.0 / baud
    queue = bytearray()
    free = 0.0  # when the wire is next free
    while running():
        wait = 0.2
        if queue:
            due = max(free, 0.0) - time.monotonic()
            wait = max(due, 0.0)
        ready, _, _ = select.select([paced, direct], [], [], wait)
        try:
            if paced in ready:
                data = os.read(paced, 4096)
                if not queue:
                    free = max(free, time.monotonic()) + slot
                queue += data
            if direct in ready:
                os.write(paced, os.read(direct, 4096))
        except OSError:
            return
        now = time.monotonic()
        while queue and now >= free:
            os.write(direct, bytes(queue[:1]))
            del queue[:1]
            if queue:
                free += slot

def bridge(unit, link, baud):
    """The unit's line, paced, on a new pseudo-terminal whose slave LINK names."""
    source = os.open(unit, os.O_RDWR | os.O_NOCTTY)
    master, slave = pair()
    if os.path.lexists(link):
        os.unlink(link)
    os.symlink(os.ttyname(slave), link)
    relay(source, master, baud, lambda: True)

def lrzsz(directory, baud):
    """sx -k module.bin to rx -c received.bin; prints the seconds from rx's start to its end."""
    a_master, a_slave = pair()
    b_master, b_slave = pair()
    quiet = subprocess.DEVNULL
    start = time.monotonic()
    rx = subprocess.Popen(["rx", "-c", "received.bin"], stdin=b_slave, stdout=b_slave,
                          stderr=quiet, cwd=directory)
    sx = subprocess.Popen(["sx", "-k", "module.bin"], stdin=a_slave, stdout=a_slave,
                          stderr=quiet, cwd=directory)
    os.close(a_slave)
    os.close(b_slave)
    relay(a_master, b_master, baud, lambda: rx.poll() is None)
    end = time.monotonic()
    # rx may take its last ACK with it as it resets the line; sx would sit out its EOT retries.
    sx.kill()
    sx.wait()
    same = open(os.path.join(directory, "received.bin"), "rb").read() == \
        open(os.path.join(directory, "module.bin"), "rb").read()
    print("%.3f %s" % (end - start, "same" if same else "DIFFERENT"))

def stamp(log):
    """Our log with the time each line came, for the XModem part: caption to EOT."""
    begin = end = None
    with open(log, "w", errors="replace") as out:
        for line in io.TextIOWrapper(sys.stdin.buffer, errors="replace"):
            now = time.monotonic()
            out.write("%.3f %s" % (now, line))
            if line.startswith("[Receiving Memory Module]"):
                begin = now
            elif line.startswith("Received the EOT"):
                end = now
    print("%.3f" % (end - begin) if begin and end else "failed")

command = sys.argv[1]
if command == "image":
    image(sys.argv[2])
elif command == "bridge":
    bridge(sys.argv[2], sys.argv[3], int(sys.argv[4]))
elif command == "lrzsz":
    lrzsz(sys.argv[2], int(sys.argv[3]))
elif command == "stamp":
    stamp(sys.argv[2])
PY

python3 "$work/pace.py" image "$work/module.bin"

wait_for() {
    for _ in $(seq 100); do
        [ -e "$1" ] && return 0
        sleep 0.05
    done
    echo "no $1" >&2
    exit 1
}

# One download from the device; prints the XModem part's seconds. The login's waits are scaled
# down five times (they only wait for silence; a packet body may take up to the scaled protocol
# wait, 2 s, which still exceeds a packet's 1.07 s on the wire); the transfer itself waits for
# nothing when all goes well.
download() {
    local port=$1 out=$2
    { "$cli" download --port "$port" --password 246810 --time-scale 5 "$out" 2>&1 || true; } |
        python3 "$work/pace.py" stamp "$out.log"
    cmp -s "$out" "$work/module.bin" || echo "  (!) $out differs from the unit's module" >&2
}

# 1. The unit paces itself.
"$cli" simulate --image "$work/module.bin" --baud "$baud" \
    --link "$work/unit-paced" >/dev/null 2>&1 &
pids+=($!)
wait_for "$work/unit-paced"
ours_paced=$(download "$work/unit-paced" "$work/ours-paced.mem")

# 2. An unpaced unit behind the relay. The unit keeps its own waits unscaled: it writes a packet
# at once and then waits for the ACK, which the relay makes take the packet's wire time.
"$cli" simulate --image "$work/module.bin" --link "$work/unit" >/dev/null 2>&1 &
pids+=($!)
wait_for "$work/unit"
python3 "$work/pace.py" bridge "$(readlink "$work/unit")" "$work/relayed" "$baud" &
pids+=($!)
wait_for "$work/relayed"
ours_relayed=$(download "$work/relayed" "$work/ours-relayed.mem")

# 3. lrzsz through the same relay.
read -r theirs theirs_check < <(python3 "$work/pace.py" lrzsz "$work" "$baud")

python3 - "$baud" "$ours_paced" "$ours_relayed" "$theirs" "$theirs_check" <<'PY'
import sys
baud = int(sys.argv[1])
wire = 16 * 1029 * 10 / baud
print("16 KB module, 16 XModem-1K packets of 1029 bytes, %d baud" % baud)
print("  wire time of the packets                      %7.2f s" % wire)
for label, value in (("tolvane, unit paces itself (--baud)", sys.argv[2]),
                     ("tolvane, unpaced unit through the relay", sys.argv[3]),
                     ("lrzsz sx -k -> rx -c through the relay", sys.argv[4])):
    try:
        seconds = float(value)
        print("  %-45s %7.2f s  %5.1f %% of wire time" % (label, seconds, 100 * seconds / wire))
    except ValueError:
        print("  %-45s %s" % (label, value))
print("  lrzsz's file: %s" % sys.argv[5])
print("tolvane: from the caption \"Receiving Memory Module\" to \"Received the EOT\";")
print("lrzsz: from starting rx to its exit (includes its start-up and its EOT check).")
PY

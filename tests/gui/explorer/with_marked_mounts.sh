#!/bin/sh
# Runs the command given with two file systems that keep the marks the
# explorer colours: a btrfs volume (entries may be compressed) and an ext4
# volume with an encrypted folder "secret", each on a loop device, mounted in
# a mount namespace of this script's own and gone with it. Their folder is
# passed as KIB_MARKED_MOUNTS. Exits 77 (skipped) on a machine that allows no
# mount namespace, no loop device or lacks the tools.
set -u
if [ "${KIB_MARKS_NAMESPACE:-}" != 1 ]; then
    for tool in unshare mount mkfs.btrfs mkfs.ext4 e4crypt truncate; do
        command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: skipped"; exit 77; }
    done
    [ -e /dev/loop-control ] || { echo "no loop devices: skipped"; exit 77; }
    unshare -m --propagation private true 2>/dev/null || { echo "no mount namespace: skipped"; exit 77; }
    KIB_MARKS_NAMESPACE=1 exec unshare -m --propagation private sh "$0" "$@"
fi

work=$(mktemp -d /tmp/kib-marks-XXXXXX) || exit 1
cleanup() {
    umount "$work/btrfs" 2>/dev/null
    umount "$work/ext4" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
skip() { echo "$1: skipped"; exit 77; }

mkdir "$work/btrfs" "$work/ext4"
truncate -s 128M "$work/btrfs.img" && mkfs.btrfs -q "$work/btrfs.img" >/dev/null 2>&1 || skip "mkfs.btrfs failed"
mount -o loop "$work/btrfs.img" "$work/btrfs" 2>/dev/null || skip "no loop mount of btrfs"
truncate -s 32M "$work/ext4.img" && mkfs.ext4 -q -F -O encrypt "$work/ext4.img" >/dev/null 2>&1 ||
    skip "mkfs.ext4 failed"
mount -o loop "$work/ext4.img" "$work/ext4" 2>/dev/null || skip "no loop mount of ext4"
mkdir "$work/ext4/secret"
echo kib-test | e4crypt add_key -S 0x4b69622d74657374 "$work/ext4/secret" >/dev/null 2>&1 ||
    skip "no key for an encrypted folder"

KIB_MARKED_MOUNTS=$work "$@"

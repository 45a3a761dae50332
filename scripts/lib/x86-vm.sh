# Sourced by scripts/test-release: an emulated x86-64 machine with Debian's Wine for both architectures, for the
# 32-bit programs this machine's kernel cannot run. Its root image is built from Debian packages without mounting
# anything and cached in $x86_vm_dir, keyed on the package list; the machine boots Debian's own kernel under QEMU's
# TCG, and a second disk carries the programs in and the results out. Nothing i386 is installed on this machine.
#   x86_vm_image               builds the image, or finds it in the cache
#   x86_vm_run BUILD PROGRAM   runs the 32-bit test build BUILD (a folder of the tree) through ctest under WoW64, and
#                              its end-to-end and smoke tests against the release PROGRAM under WoW64 and in a 32-bit
#                              prefix (see scripts/lib/x86-vm-init.sh); results in $x86_vm_dir/run/out
# Every step runs through `bounded` (scripts/lib/bounded.sh), which the caller's traps end; and each of the two first
# ends what a killed run left: its qemu or mmdebstrap, and mmdebstrap's mounts in the image folder.

x86_vm_dir=${X86_VM_DIR:-$root/build/x86-vm}
x86_vm_init=$root/scripts/lib/x86-vm-init.sh
# The i386 X and GL libraries are loaded by Wine at run time, so nothing pulls them in: without GL, DirectDraw reports
# a default display memory instead of the pinned one. mount and passwd (the refusal tests' account) are not
# Essential in bookworm; cmake brings ctest, and the imports test reads the program with MinGW's objdump.
x86_vm_packages=linux-image-amd64,mount,passwd,wine,wine64,wine32:i386,xvfb,cmake,binutils-mingw-w64-i686
x86_vm_packages+=,libx11-6:i386,libxext6:i386,libxrender1:i386,libxrandr2:i386,libxi6:i386,libxcursor1:i386
x86_vm_packages+=,libxcomposite1:i386,libxinerama1:i386,libxfixes3:i386,libxxf86vm1:i386
x86_vm_packages+=,libgl1-mesa-dri,libgl1:i386,libglx-mesa0:i386,libgl1-mesa-dri:i386
x86_vm_excluded=('/usr/share/man/*' '/usr/share/doc/*' '/usr/share/locale/*' '/usr/share/info/*'
                 '/lib/modules/*/kernel/drivers/gpu/*' '/lib/modules/*/kernel/drivers/media/*'
                 '/lib/modules/*/kernel/drivers/net/wireless/*' '/lib/modules/*/kernel/drivers/infiniband/*'
                 '/lib/modules/*/kernel/sound/*')
x86_vm_image_size=8G   # sparse; the two prefixes and both architectures' Wine and GL fill 4G
x86_vm_io_size=1G   # sparse: only what it holds is written
x86_vm_mmdebstrap_timeout=1500
x86_vm_debugfs_timeout=120
# The machine's own limits (written to /io/limits for its init) add up, with its boot and power-off, to the limit of
# the whole boot: a step inside that runs out of time still leaves the machine time to power off and report.
x86_vm_boot_margin=300
x86_vm_wineboot_timeout=1000   # each prefix's first boot
x86_vm_program_timeout=900     # each test program run against the release program
x86_vm_account_step=1500       # the ordinary account's prefix, then its tests (tests/ordinary_account.sh)
x86_vm_ctest_timeout=4200      # every test of the 32-bit test build
x86_vm_lists_timeout=600       # every test program's list of tests
x86_vm_prepare_timeout=$((x86_vm_boot_margin + 2 * x86_vm_wineboot_timeout))
x86_vm_run_timeout=$((x86_vm_boot_margin + 3 * x86_vm_program_timeout + x86_vm_ctest_timeout + x86_vm_lists_timeout))

x86_vm_fail() {
  echo "test-release: x86 VM: $*" >&2
  return 1
}

# What a killed run left: the steps' programs whose command line names the machine's folder, and processes whose root
# lies in it (mmdebstrap's chroot); then mmdebstrap's mounts there, deepest first.
_x86_vm_end_leftovers() {
  local pid proc mounts=() mount
  for proc in /proc/[0-9]*; do
    pid=${proc#/proc/}
    if { [[ $(cat "$proc/comm" 2>/dev/null) =~ ^(qemu-system-x86|mmdebstrap|timeout|debugfs|mkfs.ext4)$ ]] &&
         tr '\0' ' ' < "$proc/cmdline" 2>/dev/null | grep -qF "$x86_vm_dir/"; } ||
       [[ $(readlink "$proc/root" 2>/dev/null) == "$x86_vm_dir/"* ]]; then
      echo "test-release: x86 VM: ending process $pid, left by an earlier run: $(tr '\0' ' ' < "$proc/cmdline")" >&2
      kill -KILL "$pid" 2>/dev/null
    fi
  done
  mapfile -t mounts < <(awk -v dir="$x86_vm_dir/" 'index($2, dir) == 1 { print $2 }' /proc/self/mounts | sort -r)
  for mount in "${mounts[@]}"; do
    echo "test-release: x86 VM: unmounting $mount, left by an earlier run" >&2
    umount "$mount" 2>/dev/null || umount -l "$mount" || x86_vm_fail "cannot unmount $mount" || return 1
  done
}

# The image's key: whatever changes what mmdebstrap, mkfs.ext4 or the prefix preparation makes of it.
_x86_vm_key() {
  { echo "$x86_vm_packages $x86_vm_image_size"; printf '%s\n' "${x86_vm_excluded[@]}"
    sed -n '/^# The image keeps/,/^fi$/p' "$x86_vm_init"; } |
    sha256sum | cut -c1-16
}

_x86_vm_write_init() {   # $1: image; the init comes from the tree on every run, so editing it needs no rebuild
  bounded "$x86_vm_debugfs_timeout" debugfs -w -R "rm /init-kelvane" "$1" >/dev/null 2>&1
  bounded "$x86_vm_debugfs_timeout" debugfs -w -R "write $x86_vm_init /init-kelvane" "$1" >/dev/null 2>&1 &&
    bounded "$x86_vm_debugfs_timeout" debugfs -w -R "sif /init-kelvane mode 0100755" "$1" >/dev/null 2>&1 ||
    x86_vm_fail "cannot write the init script into $1"
}

_x86_vm_io_disk() {   # $1: folder whose contents the second disk holds; $2: the disk
  rm -f "$2"
  printf 'wineboot_timeout=%s\nprogram_timeout=%s\naccount_step=%s\nctest_timeout=%s\nlists_timeout=%s\n' \
    "$x86_vm_wineboot_timeout" "$x86_vm_program_timeout" "$x86_vm_account_step" "$x86_vm_ctest_timeout" \
    "$x86_vm_lists_timeout" > "$1/limits"
  bounded 120 mkfs.ext4 -q -L io -d "$1" "$2" "$x86_vm_io_size" >/dev/null || x86_vm_fail "cannot make the disk $2"
}

# Boots the machine once. $1: image dir, $2: io disk, $3: time limit in seconds, $4: "snapshot" keeps the image as
# it is (writes go to a temporary overlay).
_x86_vm_boot() {
  local image=$1 io=$2 limit=$3 snapshot="" code=0
  [ "${4:-}" = snapshot ] && snapshot=",snapshot=on"
  # -smap off: with SMAP on, QEMU 7.2's TCG faults every 32-bit Wine process in the guest kernel.
  bounded "$limit" qemu-system-x86_64 -machine q35 -accel tcg -cpu max,-smap -smp "$(nproc)" -m 3G \
    -nographic -no-reboot -nic none \
    -kernel "$image/vmlinuz" -initrd "$image/initrd.img" \
    -append "root=/dev/vda rw console=ttyS0 init=/init-kelvane panic=1 quiet" \
    -drive "file=$image/root.img,if=virtio,format=raw$snapshot" -drive "file=$io,if=virtio,format=raw" \
    > "$x86_vm_dir/serial.log" 2>&1 </dev/null || code=$?
  if [ "$code" = 124 ] || [ "$code" = 137 ]; then
    tail -n 20 "$x86_vm_dir/serial.log" >&2
    x86_vm_fail "the emulated machine did not power off within $limit s (serial console: $x86_vm_dir/serial.log)"
  elif [ "$code" != 0 ]; then
    tail -n 20 "$x86_vm_dir/serial.log" >&2
    x86_vm_fail "qemu-system-x86_64 could not run the machine (exit code $code; $x86_vm_dir/serial.log)"
  fi
}

_x86_vm_read_out() {   # $1: io disk, $2: folder to read /out into
  rm -rf "$2"
  bounded "$x86_vm_debugfs_timeout" debugfs -R "rdump /out $(dirname "$2")" "$1" >/dev/null 2>&1 &&
    [ -d "$2" ] || x86_vm_fail "cannot read the results back from $1"
}

x86_vm_image() {
  local key image started
  _x86_vm_end_leftovers || return 1
  key=$(_x86_vm_key)
  image=$x86_vm_dir/image-$key
  x86_vm_current=$image
  if [ -f "$image/ready" ]; then
    echo "test-release: x86 VM image from the cache ($image)"
    return 0
  fi
  started=$(date +%s)
  # The root file system is kept once made: a prefix preparation that failed or ran out of time starts again from it
  # (its block makes the prefixes anew) instead of from mmdebstrap.
  if [ ! -f "$image/root-made" ]; then
    echo "test-release: building the x86 VM image $image (once per package list; a few minutes)"
    rm -rf --one-file-system "$x86_vm_dir"/image-*
    mkdir -p "$image"
    local sources=() excluded=() path
    # The machine's own apt sources, passed by path; the image keeps none.
    for path in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list; do
      [ -s "$path" ] && { sources=("$path"); break; }
    done
    for path in "${x86_vm_excluded[@]}"; do excluded+=("--dpkgopt=path-exclude=$path"); done
    bounded "$x86_vm_mmdebstrap_timeout" mmdebstrap --variant=essential --architectures=amd64,i386 \
      --include="$x86_vm_packages" "${excluded[@]}" bookworm "$image/root" "${sources[@]}" \
      > "$image/mmdebstrap.log" 2>&1 ||
      { tail -n 20 "$image/mmdebstrap.log" >&2; x86_vm_fail "mmdebstrap failed"; return 1; }
    rm -f "$image"/root/etc/apt/sources.list "$image"/root/etc/apt/sources.list.d/*
    cp "$image"/root/boot/vmlinuz-* "$image/vmlinuz"
    cp "$image"/root/boot/initrd.img-* "$image/initrd.img"
    bounded 600 mkfs.ext4 -q -L root -d "$image/root" "$image/root.img" "$x86_vm_image_size" >/dev/null ||
      { x86_vm_fail "mkfs.ext4 of the root image failed"; return 1; }
    rm -rf --one-file-system "$image/root"
    echo "test-release: root image made in $(( $(date +%s) - started )) s; preparing the Wine prefixes in it"
    touch "$image/root-made"
  fi
  _x86_vm_write_init "$image/root.img" || return 1
  local io=$x86_vm_dir/prepare
  rm -rf "$io" && mkdir -p "$io/disk"
  _x86_vm_io_disk "$io/disk" "$io/io.img" || return 1
  _x86_vm_boot "$image" "$io/io.img" "$x86_vm_prepare_timeout" || return 1
  _x86_vm_check_clean "$io/io.img" || return 1
  _x86_vm_read_out "$io/io.img" "$io/out" || return 1
  if [ ! -f "$io/out/prefix-ready" ]; then
    cat "$io/out/vm.log" "$io/out"/wineboot-*.log >&2 2>/dev/null
    x86_vm_fail "the Wine prefixes could not be prepared in the image"
    return 1
  fi
  touch "$image/ready"
  echo "test-release: x86 VM image ready in $(( $(date +%s) - started )) s"
}

# The results disk must come back unmounted cleanly, or what is read from it may be incomplete.
_x86_vm_check_clean() {   # $1: io disk
  local header
  header=$(timeout --foreground "$x86_vm_debugfs_timeout" dumpe2fs -h "$1" 2>/dev/null)
  grep -q '^Filesystem state: *clean$' <<<"$header" && ! grep -q needs_recovery <<<"$header" ||
    x86_vm_fail "the results disk $1 was not unmounted cleanly (serial console: $x86_vm_dir/serial.log)"
}

x86_vm_run() {   # $1: the 32-bit test build, a folder under $root; $2: the 32-bit release kelvane.exe
  local run=$x86_vm_dir/run build=$1 file
  _x86_vm_end_leftovers || return 1
  rm -rf "$run" && mkdir -p "$run/disk/out" "$run/disk/tree/$build/tests" "$run/disk/tree/tests" "$run/disk/tree/cmake"
  # What ctest and the tests read: the test files, the programs, and the scripts the test files name.
  (cd "$root/$build" && find . -name CTestTestfile.cmake -o -name '*.exe' -path './tests/*' -o -name kelvane.exe) |
    while read -r file; do
      mkdir -p "$run/disk/tree/$build/$(dirname "$file")" && cp "$root/$build/$file" "$run/disk/tree/$build/$file"
    done
  cp "$root"/tests/*.sh "$run/disk/tree/tests/"
  cp "$root/cmake/wine-exec" "$run/disk/tree/cmake/"
  echo "$root" > "$run/disk/root-path"
  echo "$build" > "$run/disk/build-dir"
  cp "$2" "$run/disk/kelvane.exe"
  _x86_vm_write_init "$x86_vm_current/root.img" || return 1
  _x86_vm_io_disk "$run/disk" "$run/io.img" || return 1
  _x86_vm_boot "$x86_vm_current" "$run/io.img" "$x86_vm_run_timeout" snapshot || return 1
  _x86_vm_check_clean "$run/io.img" || return 1
  _x86_vm_read_out "$run/io.img" "$run/out" || return 1
  cat "$run/out/vm.log" 2>/dev/null
}

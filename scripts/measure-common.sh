# The start both measuring scripts share, sourced from the repository's top:
# the X11 clocks kept on X under a Wayland session (the wayland mode names its
# own compositor), the mode asked for as $which (default both), the Linux
# program and the Windows build as full paths, and a temporary folder as $work.
unset WAYLAND_DISPLAY WAYLAND_SOCKET
which=${1:-both}
linux_program=$(realpath -m "${HORAVEL_LINUX_BUILD:-build/linux}/app/horavel")
windows_build=$(realpath -m "${HORAVEL_WINDOWS_BUILD:-build/windows}")
work=$(mktemp -d)

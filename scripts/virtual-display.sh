# A virtual display with a window manager, for the scripts that drive the Windows program
# under Wine (sourced, not run). A bare X server gives no window the focus back, so openbox
# runs on it as on a desktop. `start_virtual_display` exports DISPLAY; the caller's exit
# trap calls `stop_virtual_display`.

start_virtual_display() {
    local display=:$((100 + RANDOM % 400))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
    virtual_display_server=$!
    export DISPLAY=$display
    for _ in $(seq 50); do
        xdotool getmouselocation > /dev/null 2>&1 && break
        sleep 0.1
    done
    openbox > /dev/null 2>&1 &
    virtual_display_manager=$!
    sleep 1
}

stop_virtual_display() {
    [[ -n ${virtual_display_manager:-} ]] && kill "$virtual_display_manager" 2> /dev/null
    [[ -n ${virtual_display_server:-} ]] && kill "$virtual_display_server" 2> /dev/null
    return 0
}

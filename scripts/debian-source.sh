# Sourced by the scripts that cross-build a library from Debian's source package.
# fetch_debian_source WORK PACKAGE=VERSION downloads that source package into WORK through
# private deb-src lists beside the machine's own binary ones, so the system's apt configuration
# and state stay as they are. On failure it prints why in one line and returns 1.
fetch_debian_source() {
    local work=$1 package=$2 list
    mkdir -p "$work/sources" "$work/lists/partial" "$work/cache"
    for list in /etc/apt/sources.list.d/*.sources; do
        [[ -f $list ]] && sed 's/^Types: deb$/Types: deb-src/' "$list" >"$work/sources/$(basename "$list")"
    done
    if [[ -f /etc/apt/sources.list ]]; then
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$work/sources/sources.list"
    fi
    local apt_options=(-qq -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/sources"
        -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o APT::Sandbox::User=root)
    # A machine without a reachable archive must not hold up the run.
    if ! timeout 300 apt-get "${apt_options[@]}" update >"$work/fetch.log" 2>&1; then
        echo "no source package index reachable: $(tail -n 1 "$work/fetch.log")"
        return 1
    fi
    if ! (cd "$work" && timeout 900 apt-get "${apt_options[@]}" source --download-only "$package") \
        >"$work/fetch.log" 2>&1; then
        echo "source package $package not downloaded: $(tail -n 1 "$work/fetch.log")"
        return 1
    fi
}

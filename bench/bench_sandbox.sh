# shellcheck shell=bash
# Sourced by the benchmark scripts, once they have set `build`: where their
# work happens, and a sandbox there for the data system's settings, so that
# a benchmark never changes the real user's locations.

# Sets `parent` to $TMPDIR when it is set, otherwise to $build/bench-tmp,
# makes it, and makes it absolute: HOME and the XDG folders must be.
# shellcheck disable=SC2154  # build is the sourcing script's
bench_parent() {
  if [ -n "${TMPDIR:-}" ]; then
    parent=$TMPDIR
  else
    parent="$build/bench-tmp"
  fi
  mkdir -p "$parent"
  parent=$(cd "$parent" && pwd)
}

# Sets `work` to a fresh directory NAME.XXXXXX under $parent, removed at
# exit (with $build/bench-tmp once that is empty), and points HOME,
# XDG_CONFIG_HOME and LUMENDA_HOME into it.
bench_work() {
  work=$(mktemp -d "$parent/$1.XXXXXX")
  trap 'rm -rf "$work"; rmdir "$build/bench-tmp" 2>/dev/null || true' EXIT
  mkdir -p "$work/home" "$work/config" "$work/lumenda"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/config" LUMENDA_HOME="$work/lumenda"
}

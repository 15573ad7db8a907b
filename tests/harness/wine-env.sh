# Sourced with the harness root (build/wine) as $1: the environment of every
# Wine program the tests run. Own prefix and HOME inside the build tree, no
# Mono/Gecko prompts, no .desktop files for shortcuts. A test may add DLL
# overrides of its own in TWK_DLL_OVERRIDES (set by ctest for that test only).
TWK_WINE_ROOT=$1
export TWK_WINE_ROOT
export WINEPREFIX="$TWK_WINE_ROOT/prefix"
export HOME="$TWK_WINE_ROOT/home"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${TWK_DLL_OVERRIDES:+;$TWK_DLL_OVERRIDES}"

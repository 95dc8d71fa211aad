#!/usr/bin/env bash
# The card's program carries the whole engine and exports its interface under
# its own names, also the parts the card itself never calls (buttons).
source "$SOURCE_DIR/tests/e2e/lib.sh"

program="$BUILD_DIR/solvanewin"
[ -x "$program" ] || fail "the card is not built: $program"
cmp -s "$program" "$BUILD_DIR/solvane/solvanewin" || fail "the card's folder holds another solvanewin"
nm -D --defined-only "$program" | c++filt >"$E2E_TMP/exports"
for name in 'GlimmerInitEngine(char const\*)' 'RunGlimmerEngine()' 'RegisterFrameFunction(' \
  'DTable::CreateDescriptor(' 'Window::Disactivate()' 'Button::CreateButton(' 'CFont::LoadFonts(' \
  'NativeFileSystem::Fopen(' 'Error(int)' ' GDT$' ' TTF$' ' CFG$' ' FS$' ' Frames$' ' FrameFunction$' ' TrackedWindow$' ' SDL_FBSurface$'; do
  grep -q -- "$name" "$E2E_TMP/exports" || fail "solvanewin does not export $name"
done
echo "ok: $(wc -l <"$E2E_TMP/exports") symbols exported"

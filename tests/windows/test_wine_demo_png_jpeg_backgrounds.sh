# The Windows demo with a PNG and with a JPEG background, decoded by the
# imaging component (see tests/e2e/demo-backgrounds.sh).
. "$AUTOMENU_SOURCE_DIR/tests/e2e/demo-backgrounds.sh"
demo_backgrounds 60
echo ok

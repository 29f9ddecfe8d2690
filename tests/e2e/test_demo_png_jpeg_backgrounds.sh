# The demo with a PNG and with a JPEG background (see demo-backgrounds.sh).
. "$AUTOMENU_SOURCE_DIR/tests/e2e/demo-backgrounds.sh"
demo_backgrounds 10
echo ok

#!/bin/sh
# The demo's "program" entry: started directly because it is executable and
# begins with "#!".
msg="Example Suite check: $(uname -sr), $(nproc) processors."
if command -v xmessage >/dev/null 2>&1; then
    xmessage -center "$msg"
else
    echo "$msg"
fi

// How the window's pixels reach an X server. Called before the application
// object exists, as the X platform reads its settings when it connects.
#pragma once

// Unless the user chose otherwise (QT_XCB_NO_MITSHM set either way), the
// window's updates go through the X connection instead of shared memory.
// With shared memory every paint first waits for the server to finish with
// the last one, a round trip per headset state; the updates while a headset
// streams are a few thousand pixels, cheaper to send than to wait for.
void PrepararPantallaX();

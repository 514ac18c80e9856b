#pragma once
// The pictures of res/ketrilo.qrc live in a static library: register them before use.
void EnsureResources();

#pragma once

namespace corvano::qt {

// Before the application object: engine flags and attributes.
void prepareWebEngine();
// After the application object: the shared profile and icon theme.
void initWebEngine();
// After the last window: releases the profile so its data reaches the disk.
void shutdownWebEngine();

}  // namespace corvano::qt

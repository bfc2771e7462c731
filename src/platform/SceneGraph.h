#pragma once

#include <string>

namespace corvano {

// How the windows draw: Qt Quick's OpenGL path, or its software path.
enum class SceneGraph { Software, OpenGL };

// What the machine's OpenGL says about itself; available is false when no
// context could be made.
struct GlRenderer {
    bool available = false;
    std::string vendor;
    std::string renderer;
};

// OpenGL only where it runs on a graphics processor: a renderer that draws on
// the CPU (Mesa's llvmpipe, softpipe, swrast; other software rasterizers)
// draws pages slower than the software path and doubles every window's
// drawing buffers.
SceneGraph chooseSceneGraph(const GlRenderer& gl);

}  // namespace corvano

#include "platform/SceneGraph.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace corvano {

SceneGraph chooseSceneGraph(const GlRenderer& gl) {
    if (!gl.available || gl.renderer.empty()) return SceneGraph::Software;
    std::string name = gl.renderer;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    // The renderer string names the rasterizer; "LLVM" alone does not mean
    // software (AMD's GPU drivers compile their shaders with it too).
    static constexpr std::array<std::string_view, 7> software{
        "llvmpipe", "softpipe", "swrast", "software rasterizer", "swiftshader", "lavapipe", "basic render driver"};
    for (std::string_view s : software)
        if (name.find(s) != std::string::npos) return SceneGraph::Software;
    return SceneGraph::OpenGL;
}

}  // namespace corvano

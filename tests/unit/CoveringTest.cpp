#include <gtest/gtest.h>

#include <random>

#include "platform/Covering.h"
#include "platform/SceneGraph.h"

using namespace corvano;

namespace {
StackedWindow shown(int l, int t, int w, int h) { return {{l, t, w, h}, true}; }
}  // namespace

TEST(Covering, OnlyWhatLiesAboveCoversAndOnlyWhenNothingShowsThrough) {
    // The lower one is under a larger one: covered; the larger one is not,
    // though the smaller one lies inside it (it is below).
    EXPECT_EQ(coveredWindows({shown(100, 100, 200, 100), shown(0, 0, 400, 300)}), (std::vector<bool>{true, false}));
    EXPECT_EQ(coveredWindows({shown(0, 0, 400, 300), shown(100, 100, 200, 100)}), (std::vector<bool>{false, false}));
    // Four windows above, each over a quarter: covered together; with a
    // one-pixel gap between two of them it shows through.
    const StackedWindow under = shown(0, 0, 200, 200);
    EXPECT_TRUE(coveredWindows({under, shown(0, 0, 100, 100), shown(100, 0, 100, 100), shown(0, 100, 100, 100),
                                shown(100, 100, 100, 100)})[0]);
    EXPECT_FALSE(coveredWindows({under, shown(0, 0, 100, 100), shown(101, 0, 99, 100), shown(0, 100, 100, 100),
                                 shown(100, 100, 100, 100)})[0]);
    // A minimized or hidden window covers nothing and is not reported covered.
    EXPECT_EQ(coveredWindows({under, {{0, 0, 400, 400}, false}}), (std::vector<bool>{false, false}));
    EXPECT_EQ(coveredWindows({{{0, 0, 10, 10}, false}, shown(0, 0, 400, 400)}), (std::vector<bool>{false, false}));
}

TEST(Covering, AgreesWithLookingAtEveryPixel) {
    std::mt19937 random(21);
    std::uniform_int_distribution<int> pos(0, 11), size(0, 12), count(1, 6);
    for (int round = 0; round < 400; ++round) {
        std::vector<StackedWindow> stack;
        for (int n = count(random); n > 0; --n)
            stack.push_back({{pos(random), pos(random), size(random), size(random)}, random() % 5 != 0});
        const std::vector<bool> got = coveredWindows(stack);
        for (size_t i = 0; i < stack.size(); ++i) {
            const Rect& r = stack[i].frame;
            bool seen = false;
            for (int x = r.left; x < r.left + r.width; ++x)
                for (int y = r.top; y < r.top + r.height; ++y) {
                    bool hidden = false;
                    for (size_t j = i + 1; j < stack.size(); ++j) {
                        const Rect& a = stack[j].frame;
                        hidden = hidden || (stack[j].onScreen && x >= a.left && x < a.left + a.width && y >= a.top &&
                                            y < a.top + a.height);
                    }
                    seen = seen || !hidden;
                }
            const bool expected = stack[i].onScreen && r.width > 0 && r.height > 0 && !seen;
            ASSERT_EQ(got[i], expected) << "round " << round << " window " << i;
        }
    }
}

TEST(SceneGraph, TheOpenGLPathOnlyWhereAGraphicsProcessorDraws) {
    // No OpenGL at all, or one that names no renderer: software.
    EXPECT_EQ(chooseSceneGraph({}), SceneGraph::Software);
    EXPECT_EQ(chooseSceneGraph({true, "Mesa", ""}), SceneGraph::Software);
    // Rasterizers that run on the CPU, as their drivers spell them: software.
    for (const char* cpu : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer",
                            "Mesa X11 swrast", "Google SwiftShader", "LLVMPIPE"})
        EXPECT_EQ(chooseSceneGraph({true, "Mesa", cpu}), SceneGraph::Software) << cpu;
    // Graphics processors, also those whose drivers build on LLVM: OpenGL.
    for (const char* gpu : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "NVIDIA GeForce GTX 1060/PCIe/SSE2",
                            "AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0-18-amd64)"})
        EXPECT_EQ(chooseSceneGraph({true, "vendor", gpu}), SceneGraph::OpenGL) << gpu;
}

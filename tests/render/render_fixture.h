#pragma once

#include "render/frame_state.h"
#include "render/model.h"
#include "settings/saver_settings.h"
#include "shell/headless/egl_context.h"
#include "tests/render/fake_resources.h"
#include "tests/render/recording_render_output.h"

#include <gtest/gtest.h>

#include <memory>

// Every test starts as a run does: a fresh OpenGL context with its default state, no models, the
// turn at zero, default settings and nothing recorded.
class RenderTest : public testing::Test {
  protected:
    static constexpr int contextWidth = 800;
    static constexpr int contextHeight = 600;

    void SetUp() override {
        context = std::make_unique<HeadlessGlContext>(contextWidth, contextHeight);
        ASSERT_TRUE(context->ready()) << context->error();
        saverSettings = defaultSettings;
        setFrameAngles({});
        swapCount = 0;
        askedQuestions.clear();
        whileAsking = nullptr;
        fakeResources.clear();
    }

    void TearDown() override {
        // Models live until the process ends in a run; here each test owns its own.
        for (Model* model : modelList) {
            delete model;
        }
        modelList.clear();
        context.reset();
    }

    std::unique_ptr<HeadlessGlContext> context;
};

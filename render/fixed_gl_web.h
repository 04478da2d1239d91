// fixed_gl_web.h -- the fixed functions on the page's WebGL context: a FixedGl
// whose frames go to WebGL as one upload of vertices and a draw per run of
// lines or triangles, through one small shader program.
#pragma once

#include "render/fixed_gl.h"

namespace drumhold {

class WebGlContext {
public:
    // On the context current now (SDL's window just made it), and current itself.
    WebGlContext();
    WebGlContext(const WebGlContext&) = delete;
    WebGlContext& operator=(const WebGlContext&) = delete;

    // False when WebGL refused the program (said on standard error).
    bool ok() const { return backend_.ok(); }

private:
    class Backend final : public FixedGlBackend {
    public:
        Backend();
        ~Backend() override;
        Backend(const Backend&) = delete;
        Backend& operator=(const Backend&) = delete;
        bool ok() const { return program_ != 0; }

        void upload(std::span<const FixedVertex> vertices) override;
        void draw(unsigned mode, int first, int count) override;
        void clear(unsigned mask) override;
        void clearColor(float red, float green, float blue, float alpha) override;
        void clearDepth(double depth) override;
        void viewport(int x, int y, int width, int height) override;
        void scissor(int x, int y, int width, int height) override;
        void scissorTest(bool on) override;
        void lineWidth(float width) override;

    private:
        unsigned program_ = 0;
        unsigned buffer_ = 0;
    };

    Backend backend_;
    FixedGl gl_{backend_};
};

}  // namespace drumhold

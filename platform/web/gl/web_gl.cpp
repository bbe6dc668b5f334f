// The program's OpenGL calls on WebGL 2. The fixed-function state the
// program relies on (matrices, immediate-mode quads, the texture environment,
// the alpha test) lives here; each quad is drawn by one shader that does what
// the fixed-function pipeline did, and everything else goes to WebGL as is.
#include "gl.h"

#include <emscripten.h>

#include <cmath>
#include <cstring>
#include <vector>

// The WebGL side: the context, one shader program, one vertex buffer, and
// the objects named by the program's integer names. The current colour is
// always white, so modulating by it changes nothing and replacing is the same.
EM_JS(int, WebGlCreate, (), {
    const canvas = Module["canvas"];
    const gl = canvas && canvas.getContext("webgl2", {
        alpha: false, depth: true, stencil: false, antialias: false, premultipliedAlpha: false,
        preserveDrawingBuffer: true
    });
    if (!gl) return 0;
    const compile = (type, source) => {
        const shader = gl.createShader(type);
        gl.shaderSource(shader, source);
        gl.compileShader(shader);
        if (!gl.getShaderParameter(shader, gl.COMPILE_STATUS)) throw new Error(gl.getShaderInfoLog(shader));
        return shader;
    };
    const program = gl.createProgram();
    const lines = (...text) => text.join("\n");
    gl.attachShader(program, compile(gl.VERTEX_SHADER, lines(
        "#version 300 es",
        "in vec3 position;",
        "in vec2 texcoord;",
        "uniform mat4 projection;",
        "uniform mat4 modelview;",
        "out vec2 uv;",
        "void main() {",
        "    uv = texcoord;",
        "    gl_Position = projection * (modelview * vec4(position, 1.0));",
        "}")));
    gl.attachShader(program, compile(gl.FRAGMENT_SHADER, lines(
        "#version 300 es",
        "precision highp float;",
        "in vec2 uv;",
        "uniform sampler2D picture;",
        "uniform bool texturing;",
        "uniform bool alphaTest;",
        "uniform int alphaFunc;",
        "uniform float alphaRef;",
        "out vec4 fragment;",
        "bool passes(float a) {",
        "    if (alphaFunc == 0x0200) return false;",
        "    if (alphaFunc == 0x0201) return a < alphaRef;",
        "    if (alphaFunc == 0x0202) return a == alphaRef;",
        "    if (alphaFunc == 0x0203) return a <= alphaRef;",
        "    if (alphaFunc == 0x0204) return a > alphaRef;",
        "    if (alphaFunc == 0x0205) return a != alphaRef;",
        "    if (alphaFunc == 0x0206) return a >= alphaRef;",
        "    return true;",
        "}",
        "void main() {",
        "    vec4 colour = texturing ? texture(picture, uv) : vec4(1.0);",
        "    if (alphaTest && !passes(colour.a)) discard;",
        "    fragment = colour;",
        "}")));
    gl.bindAttribLocation(program, 0, "position");
    gl.bindAttribLocation(program, 1, "texcoord");
    gl.linkProgram(program);
    if (!gl.getProgramParameter(program, gl.LINK_STATUS)) throw new Error(gl.getProgramInfoLog(program));
    gl.useProgram(program);
    const uniforms = {};
    for (const name of ["projection", "modelview", "picture", "texturing", "alphaTest", "alphaFunc",
                        "alphaRef"]) {
        uniforms[name] = gl.getUniformLocation(program, name);
    }
    gl.uniform1i(uniforms.picture, 0);
    const buffer = gl.createBuffer();
    gl.bindBuffer(gl.ARRAY_BUFFER, buffer);
    gl.enableVertexAttribArray(0);
    gl.enableVertexAttribArray(1);
    gl.vertexAttribPointer(0, 3, gl.FLOAT, false, 20, 0);
    gl.vertexAttribPointer(1, 2, gl.FLOAT, false, 20, 12);
    gl.pixelStorei(gl.UNPACK_ALIGNMENT, 1);
    Module["webgl"] = {gl, uniforms, textures: new Map(), framebuffers: new Map(), renderbuffers: new Map()};
    return 1;
});

EM_JS(void, WebGlDestroy, (), {
    const state = Module["webgl"];
    if (state) {
        const lose = state.gl.getExtension("WEBGL_lose_context");
        if (lose) lose.loseContext();
        Module["webgl"] = null;
    }
});

EM_JS(void, WebGlDraw, (const float* vertices, int count, const float* projection, const float* modelview,
                        int texture, int texturing, int alphaTest, int alphaFunc, float alphaRef,
                        int depthTest, int depthFunc), {
    const {gl, uniforms, textures} = Module["webgl"];
    gl.uniformMatrix4fv(uniforms.projection, false, HEAPF32.subarray(projection >> 2, (projection >> 2) + 16));
    gl.uniformMatrix4fv(uniforms.modelview, false, HEAPF32.subarray(modelview >> 2, (modelview >> 2) + 16));
    gl.uniform1i(uniforms.texturing, texturing);
    gl.uniform1i(uniforms.alphaTest, alphaTest);
    gl.uniform1i(uniforms.alphaFunc, alphaFunc);
    gl.uniform1f(uniforms.alphaRef, alphaRef);
    gl.bindTexture(gl.TEXTURE_2D, textures.get(texture) || null);
    if (depthTest) {
        gl.enable(gl.DEPTH_TEST);
        gl.depthFunc(depthFunc);
    } else {
        gl.disable(gl.DEPTH_TEST);
    }
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(vertices >> 2, (vertices >> 2) + count * 5), gl.STREAM_DRAW);
    gl.drawArrays(gl.TRIANGLES, 0, count);
});

EM_JS(void, WebGlClear, (int mask, float r, float g, float b, float a, float depth), {
    const {gl} = Module["webgl"];
    gl.clearColor(r, g, b, a);
    gl.clearDepth(depth);
    gl.depthMask(true);
    gl.clear(mask);
});

EM_JS(void, WebGlViewport, (int x, int y, int width, int height), {
    Module["webgl"].gl.viewport(x, y, width, height);
});

EM_JS(void, WebGlBindTexture, (int texture), {
    const {gl, textures} = Module["webgl"];
    if (texture && !textures.has(texture)) textures.set(texture, gl.createTexture());
    gl.bindTexture(gl.TEXTURE_2D, textures.get(texture) || null);
});

EM_JS(void, WebGlDeleteTexture, (int texture), {
    const state = Module["webgl"];
    if (state && state.textures.has(texture)) {
        state.gl.deleteTexture(state.textures.get(texture));
        state.textures.delete(texture);
    }
});

EM_JS(void, WebGlTexImage, (int level, int width, int height, const unsigned char* rgba), {
    const {gl} = Module["webgl"];
    const data = rgba ? HEAPU8.subarray(rgba, rgba + width * height * 4) : null;
    gl.texImage2D(gl.TEXTURE_2D, level, gl.RGBA8, width, height, 0, gl.RGBA, gl.UNSIGNED_BYTE, data);
});

EM_JS(void, WebGlTexSubImage, (int level, int x, int y, int width, int height, const unsigned char* rgba), {
    const {gl} = Module["webgl"];
    gl.texSubImage2D(gl.TEXTURE_2D, level, x, y, width, height, gl.RGBA, gl.UNSIGNED_BYTE,
                     HEAPU8.subarray(rgba, rgba + width * height * 4));
});

EM_JS(void, WebGlTexParameter, (int pname, int param), {
    const {gl} = Module["webgl"];
    gl.texParameteri(gl.TEXTURE_2D, pname, param);
});

EM_JS(void, WebGlGenerateMipmap, (), {
    const {gl} = Module["webgl"];
    gl.generateMipmap(gl.TEXTURE_2D);
});

EM_JS(int, WebGlMaxTextureSize, (), {
    const {gl} = Module["webgl"];
    return gl.getParameter(gl.MAX_TEXTURE_SIZE);
});

EM_JS(void, WebGlBindFramebuffer, (int framebuffer), {
    const {gl, framebuffers} = Module["webgl"];
    if (framebuffer && !framebuffers.has(framebuffer)) framebuffers.set(framebuffer, gl.createFramebuffer());
    gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffers.get(framebuffer) || null);
});

EM_JS(void, WebGlDeleteFramebuffer, (int framebuffer), {
    const state = Module["webgl"];
    if (state && state.framebuffers.has(framebuffer)) {
        state.gl.deleteFramebuffer(state.framebuffers.get(framebuffer));
        state.framebuffers.delete(framebuffer);
    }
});

EM_JS(void, WebGlBindRenderbuffer, (int renderbuffer), {
    const {gl, renderbuffers} = Module["webgl"];
    if (renderbuffer && !renderbuffers.has(renderbuffer)) renderbuffers.set(renderbuffer, gl.createRenderbuffer());
    gl.bindRenderbuffer(gl.RENDERBUFFER, renderbuffers.get(renderbuffer) || null);
});

EM_JS(void, WebGlDeleteRenderbuffer, (int renderbuffer), {
    const state = Module["webgl"];
    if (state && state.renderbuffers.has(renderbuffer)) {
        state.gl.deleteRenderbuffer(state.renderbuffers.get(renderbuffer));
        state.renderbuffers.delete(renderbuffer);
    }
});

EM_JS(void, WebGlRenderbufferStorage, (int depth, int width, int height), {
    const {gl} = Module["webgl"];
    gl.renderbufferStorage(gl.RENDERBUFFER, depth ? gl.DEPTH_COMPONENT16 : gl.RGBA8, width, height);
});

EM_JS(void, WebGlAttachTexture, (int attachment, int texture, int level), {
    const {gl, textures} = Module["webgl"];
    gl.framebufferTexture2D(gl.FRAMEBUFFER, attachment, gl.TEXTURE_2D, textures.get(texture) || null, level);
});

EM_JS(void, WebGlAttachRenderbuffer, (int attachment, int renderbuffer), {
    const {gl, renderbuffers} = Module["webgl"];
    gl.framebufferRenderbuffer(gl.FRAMEBUFFER, attachment, gl.RENDERBUFFER, renderbuffers.get(renderbuffer) || null);
});

EM_JS(int, WebGlFramebufferStatus, (), {
    const {gl} = Module["webgl"];
    return gl.checkFramebufferStatus(gl.FRAMEBUFFER);
});

EM_JS(void, WebGlFinish, (), {
    Module["webgl"].gl.finish();
});

namespace {

struct Matrix {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

struct State {
    bool live = false;
    GLenum matrixMode = GL_MODELVIEW;
    Matrix projection;
    Matrix modelview;
    bool texturing = false;
    bool depthTest = false;
    bool alphaTest = false;
    GLenum depthFunc = GL_LESS;
    GLenum alphaFunc = GL_ALWAYS;
    float alphaRef = 0.0f;
    float clearColour[4] = {0, 0, 0, 0};
    float clearDepth = 1.0f;
    GLuint boundTexture = 0;
    GLuint nextName = 1;
    // The quad being given vertex by vertex, and the texture coordinate in force.
    bool inside = false;
    float s = 0.0f;
    float t = 0.0f;
    std::vector<float> corners;  // x, y, z, s, t each
    std::vector<float> triangles;
};

State gl;

Matrix& Current() {
    return gl.matrixMode == GL_PROJECTION ? gl.projection : gl.modelview;
}

void GenNames(GLsizei n, GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) {
        names[i] = gl.nextName++;
    }
}

}  // namespace

bool CreateWebGlContext() {
    gl = State{};
    gl.live = WebGlCreate() != 0;
    return gl.live;
}

void DestroyWebGlContext() {
    WebGlDestroy();
    gl.live = false;
}

bool epoxy_has_gl_extension(const char* name) {
    // WebGL 2 has framebuffer objects and mipmap generation of its own.
    return std::strcmp(name, "GL_EXT_framebuffer_object") == 0;
}

void glBegin(GLenum) {
    gl.inside = true;
    gl.corners.clear();
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    gl.s = s;
    gl.t = t;
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    gl.corners.insert(gl.corners.end(), {x, y, z, gl.s, gl.t});
}

// Each quad of four corners as two triangles: 0-1-2 and 0-2-3.
void glEnd() {
    gl.inside = false;
    if (!gl.live) {
        return;
    }
    gl.triangles.clear();
    for (size_t quad = 0; quad + 20 <= gl.corners.size(); quad += 20) {
        for (int corner : {0, 1, 2, 0, 2, 3}) {
            const float* c = &gl.corners[quad + static_cast<size_t>(corner) * 5];
            gl.triangles.insert(gl.triangles.end(), c, c + 5);
        }
    }
    if (gl.triangles.empty()) {
        return;
    }
    WebGlDraw(gl.triangles.data(), static_cast<int>(gl.triangles.size() / 5), gl.projection.m, gl.modelview.m,
              static_cast<int>(gl.boundTexture), gl.texturing, gl.alphaTest,
              static_cast<int>(gl.alphaFunc), gl.alphaRef, gl.depthTest, static_cast<int>(gl.depthFunc));
}

void glMatrixMode(GLenum mode) {
    gl.matrixMode = mode;
}

void glLoadIdentity() {
    Current() = Matrix{};
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    float* m = Current().m;
    for (int row = 0; row < 4; ++row) {
        m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    }
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double f = 1.0 / std::tan(fovy * M_PI / 360.0);
    const double p[16] = {f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, (zFar + zNear) / (zNear - zFar), -1,
                          0,          0, 2 * zFar * zNear / (zNear - zFar), 0};
    // Multiplied onto the current matrix, as GLU does.
    const Matrix before = Current();
    float* m = Current().m;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += before.m[k * 4 + row] * p[column * 4 + k];
            }
            m[column * 4 + row] = static_cast<float>(sum);
        }
    }
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (gl.live) {
        WebGlViewport(x, y, width, height);
    }
}

void glClear(GLbitfield mask) {
    if (gl.live) {
        WebGlClear(static_cast<int>(mask), gl.clearColour[0], gl.clearColour[1], gl.clearColour[2], gl.clearColour[3],
                   gl.clearDepth);
    }
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    gl.clearColour[0] = red;
    gl.clearColour[1] = green;
    gl.clearColour[2] = blue;
    gl.clearColour[3] = alpha;
}

void glClearDepth(GLclampd depth) {
    gl.clearDepth = static_cast<float>(depth);
}

namespace {
bool* Capability(GLenum cap) {
    switch (cap) {
    case GL_TEXTURE_2D: return &gl.texturing;
    case GL_DEPTH_TEST: return &gl.depthTest;
    case GL_ALPHA_TEST: return &gl.alphaTest;
    default: return nullptr;
    }
}
}  // namespace

void glEnable(GLenum cap) {
    if (bool* flag = Capability(cap)) {
        *flag = true;
    }
}

void glDisable(GLenum cap) {
    if (bool* flag = Capability(cap)) {
        *flag = false;
    }
}

GLboolean glIsEnabled(GLenum cap) {
    const bool* flag = Capability(cap);
    return flag && *flag ? GL_TRUE : GL_FALSE;
}

void glDepthFunc(GLenum func) {
    gl.depthFunc = func;
}

void glAlphaFunc(GLenum func, GLclampf ref) {
    gl.alphaFunc = func;
    gl.alphaRef = ref < 0.0f ? 0.0f : (ref > 1.0f ? 1.0f : ref);
}

// Smooth shading and the hints are what WebGL always does.
void glShadeModel(GLenum) {}
void glHint(GLenum, GLenum) {}
void glPixelStorei(GLenum, GLint) {}

// Replacing and modulating by the current colour, always white, give the
// same texels.
void glTexEnvi(GLenum, GLenum, GLint) {}

void glGenTextures(GLsizei n, GLuint* textures) {
    GenNames(n, textures);
}

void glDeleteTextures(GLsizei n, const GLuint* textures) {
    for (GLsizei i = 0; i < n; ++i) {
        WebGlDeleteTexture(static_cast<int>(textures[i]));
    }
}

void glBindTexture(GLenum, GLuint texture) {
    gl.boundTexture = texture;
    if (gl.live) {
        WebGlBindTexture(static_cast<int>(texture));
    }
}

void glTexImage2D(GLenum, GLint level, GLint, GLsizei width, GLsizei height, GLint, GLenum format, GLenum,
                  const GLvoid* pixels) {
    if (!gl.live) {
        return;
    }
    // WebGL takes RGBA: RGB rows are widened, opaque.
    std::vector<unsigned char> widened;
    const unsigned char* rgba = static_cast<const unsigned char*>(pixels);
    if (pixels && format == GL_RGB) {
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        widened.resize(count * 4);
        for (size_t i = 0; i < count; ++i) {
            std::memcpy(&widened[i * 4], rgba + i * 3, 3);
            widened[i * 4 + 3] = 255;
        }
        rgba = widened.data();
    }
    WebGlTexImage(level, width, height, rgba);
}

void glTexSubImage2D(GLenum, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum,
                     const GLvoid* pixels) {
    // The pictures arrive as RGBA rows, as WebGL takes them.
    if (gl.live && pixels && format == GL_RGBA) {
        WebGlTexSubImage(level, x, y, width, height, static_cast<const unsigned char*>(pixels));
    }
}

void glTexParameteri(GLenum, GLenum pname, GLint param) {
    if (gl.live) {
        WebGlTexParameter(static_cast<int>(pname), param);
    }
}

void glTexParameterf(GLenum target, GLenum pname, GLfloat param) {
    glTexParameteri(target, pname, static_cast<GLint>(param));
}

void glGetIntegerv(GLenum pname, GLint* params) {
    if (pname == GL_MAX_TEXTURE_SIZE) {
        *params = gl.live ? WebGlMaxTextureSize() : 0;
    } else {
        *params = 0;
    }
}

GLenum glGetError() {
    return GL_NO_ERROR;
}

void glFinish() {
    if (gl.live) {
        WebGlFinish();
    }
}

void glGenFramebuffersEXT(GLsizei n, GLuint* framebuffers) {
    GenNames(n, framebuffers);
}

void glDeleteFramebuffersEXT(GLsizei n, const GLuint* framebuffers) {
    for (GLsizei i = 0; i < n; ++i) {
        WebGlDeleteFramebuffer(static_cast<int>(framebuffers[i]));
    }
}

void glBindFramebufferEXT(GLenum, GLuint framebuffer) {
    if (gl.live) {
        WebGlBindFramebuffer(static_cast<int>(framebuffer));
    }
}

void glGenRenderbuffersEXT(GLsizei n, GLuint* renderbuffers) {
    GenNames(n, renderbuffers);
}

void glDeleteRenderbuffersEXT(GLsizei n, const GLuint* renderbuffers) {
    for (GLsizei i = 0; i < n; ++i) {
        WebGlDeleteRenderbuffer(static_cast<int>(renderbuffers[i]));
    }
}

void glBindRenderbufferEXT(GLenum, GLuint renderbuffer) {
    if (gl.live) {
        WebGlBindRenderbuffer(static_cast<int>(renderbuffer));
    }
}

void glRenderbufferStorageEXT(GLenum, GLenum internalFormat, GLsizei width, GLsizei height) {
    if (gl.live) {
        WebGlRenderbufferStorage(internalFormat == GL_DEPTH_COMPONENT, width, height);
    }
}

void glFramebufferTexture2DEXT(GLenum, GLenum attachment, GLenum, GLuint texture, GLint level) {
    if (gl.live) {
        WebGlAttachTexture(static_cast<int>(attachment), static_cast<int>(texture), level);
    }
}

void glFramebufferRenderbufferEXT(GLenum, GLenum attachment, GLenum, GLuint renderbuffer) {
    if (gl.live) {
        WebGlAttachRenderbuffer(static_cast<int>(attachment), static_cast<int>(renderbuffer));
    }
}

GLenum glCheckFramebufferStatusEXT(GLenum) {
    return gl.live ? static_cast<GLenum>(WebGlFramebufferStatus()) : 0;
}

void glGenerateMipmapEXT(GLenum) {
    if (gl.live) {
        WebGlGenerateMipmap();
    }
}

// Saving the frame being drawn as a PNG beside the program.
#include "app/screenshot.h"

#include "platform/paths.h"
#include "runtime/core/core.h"

#include <GL/gl.h>
#include <cstdio>
#include <png.h>
#include <vector>

std::string SaveScreenshot(const char* name) {
    OpenGLVividoru& device = Device();
    int w = device.width, h = device.height;
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    std::FILE* file = std::fopen(name, "wb");
    if (!file) return {};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = info && !setjmp(png_jmpbuf(png));
    if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = h - 1; y >= 0; --y) png_write_row(png, &pixels[static_cast<size_t>(y) * w * 3]);
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return ok ? platform::CurrentDir() + "/" + name : std::string();
}

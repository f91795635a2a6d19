#pragma once

// Owners of the HarfBuzz and fontconfig objects the PDF writer's font code uses.
#include <fontconfig/fontconfig.h>
#include <hb-subset.h>
#include <hb.h>

#include <memory>

namespace pdf {

struct BlobFree {
    void operator()(hb_blob_t *b) const { hb_blob_destroy(b); }
};
struct FaceFree {
    void operator()(hb_face_t *f) const { hb_face_destroy(f); }
};
struct FontFree {
    void operator()(hb_font_t *f) const { hb_font_destroy(f); }
};
struct BufferFree {
    void operator()(hb_buffer_t *b) const { hb_buffer_destroy(b); }
};
struct SubsetInputFree {
    void operator()(hb_subset_input_t *i) const { hb_subset_input_destroy(i); }
};
struct PatternFree {
    void operator()(FcPattern *p) const { FcPatternDestroy(p); }
};
struct FontSetFree {
    void operator()(FcFontSet *s) const { FcFontSetDestroy(s); }
};
struct CharSetFree {
    void operator()(FcCharSet *c) const { FcCharSetDestroy(c); }
};

using Blob = std::unique_ptr<hb_blob_t, BlobFree>;
using Face = std::unique_ptr<hb_face_t, FaceFree>;
using HbFont = std::unique_ptr<hb_font_t, FontFree>;
using Pattern = std::unique_ptr<FcPattern, PatternFree>;

}  // namespace pdf

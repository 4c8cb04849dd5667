// Qt's PDF writer turns every clip rectangle into a five-point path and
// restates the pen after every clipped text.  The picture clips nearly every
// text to its cell, so on a large timetable these repetitions weigh more than
// the picture itself.  The page's content stream is rewritten here with the
// PDF rectangle form of the clip and without the state blocks that paint
// nothing; what the page shows does not change.
#pragma once

#include <string>
#include <string_view>

namespace horaku
{

// The content stream of the page with rectangle clips and without q … Q
// blocks that only set state.  Anything the rewriter does not recognise
// leaves the document as it was.
std::string CompacterContenuPdf(std::string_view contenu);

// `pdf` with its page content compacted, the stream recompressed and the
// cross-reference table moved to match; `pdf` itself when its layout is not
// the one Qt writes.
std::string CompacterPdf(const std::string& pdf);

} // namespace horaku

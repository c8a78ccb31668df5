#pragma once

#include <QString>

// Short Chinese words for the codes the web engine reports when a page cannot
// be loaded: an HTTP status (positive) or one of the engine's network error
// codes (negative, such as -105 for a server name that does not resolve).
namespace NetErrorText {

// The words for a status code; "无法访问此网站" for a network code without
// words of its own, and a general text for an unknown HTTP status.
QString Explain(int statusCode);

} // namespace NetErrorText

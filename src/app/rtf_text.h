#pragma once
// A reader for the rich text of the licence file: paragraphs, line breaks, tabs,
// bold, italic, underline, character escapes (\'hh in the Windows code page, \uN)
// and the usual header groups (font, colour and style tables, document info), which
// are skipped. Other control words are ignored, so an unknown construct never
// loses the text around it.

#include <QString>

// The rich text as HTML for a text box.
QString RtfToHtml(const QByteArray &rtf);

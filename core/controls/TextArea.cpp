#include "TextArea.h"

#include "Bytes.h"
#include "ControlEventRaising.h"
#include "KeyboardInput.h"
#include "UserEdits.h"

#include <QApplication>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <utility>

namespace {

constexpr QChar carriageReturn = u'\r';
constexpr QChar lineFeed = u'\n';

// The document knows only line breaks between blocks. A CR LF pair becomes
// such a break. So does a CR on its own, which therefore reads back as CR LF;
// lines read from files never hold one. An LF on its own is an ordinary
// character of a line in the files; it is kept inside its block as a line
// separator, which is shown as a break and read back as the LF it was.
QString DocumentTextFrom(const QString& text)
{
    QString documentText;
    documentText.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar character = text.at(at);
        if (character == carriageReturn) {
            if (at + 1 < text.size() && text.at(at + 1) == lineFeed)
                ++at;
            documentText += lineFeed;
        } else if (character == lineFeed) {
            documentText += QChar(QChar::LineSeparator);
        } else {
            documentText += character;
        }
    }
    return documentText;
}

// Block texts rather than toPlainText, which turns line separators into LF
// and non-breaking spaces into blanks.
QString TextFromBlocks(const QTextDocument& document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines << block.text().replace(QChar(QChar::LineSeparator), lineFeed);
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

TextArea::TextArea(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(this, &QPlainTextEdit::textChanged, this, &TextArea::ReportTextChange);
}

QString TextArea::Text() const
{
    return TextFromBlocks(*document());
}

void TextArea::SetText(const QString& text)
{
    if (text == Text())
        return;
    ReplaceDocumentText(DocumentTextFrom(text));
    RaiseEvent(OnChange);
}

void TextArea::ClearText()
{
    ReplaceDocumentText(QString());
}

void TextArea::ReplaceDocumentText(const QString& documentText)
{
    const QScopedValueRollback replacing(replacingText_, true);
    setPlainText(documentText);
    reportedText_ = Text();
}

void TextArea::ReportTextChange()
{
    if (replacingText_)
        return;
    QString text = Text();
    if (text == reportedText_)
        return;
    reportedText_ = std::move(text);
    NoteUserEdit(*this);
    RaiseUserEvent(OnChange);
}

TextArea::Place TextArea::CurrentPlace() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.anchor(), cursor.position(), verticalScrollBar()->value()};
}

void TextArea::ReturnTo(const Place& place)
{
    const int end = document()->characterCount() - 1;
    QTextCursor restored(document());
    restored.setPosition(qMin(place.anchor, end));
    restored.setPosition(qMin(place.position, end), QTextCursor::KeepAnchor);
    setTextCursor(restored);
    verticalScrollBar()->setValue(place.scrolled);
}

// The document cannot drop its oldest steps, and gives back the text it keeps
// for them only when it is filled afresh; the user's place stays.
void TextArea::LimitUndoHistory()
{
    if (document()->availableUndoSteps() <= MaxUndoSteps)
        return;
    const Place place = CurrentPlace();
    ReplaceDocumentText(DocumentTextFrom(Text()));
    ReturnTo(place);
}

// Shift+Enter would otherwise insert a line separator, which reads back as
// an LF on its own instead of the CR LF of a new line.
void TextArea::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly()) {
        QPlainTextEdit::keyPressEvent(event);
    } else if (IsEnterKey(*event)) {
        StartNewLine();
    } else if (!HasSingleByteForm(event->text())) {
        QApplication::beep();
    } else {
        QPlainTextEdit::keyPressEvent(event);
    }
}

void TextArea::StartNewLine()
{
    QTextCursor cursor = textCursor();
    cursor.insertBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TextArea::keyReleaseEvent(QKeyEvent* event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    LimitUndoHistory();
    RaiseKeyUpEvent(*event, OnKeyUp);
}

void TextArea::inputMethodEvent(QInputMethodEvent* event)
{
    if (CanStandInAFile(event->commitString())) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QApplication::beep();
    QInputMethodEvent withoutCommit;
    QPlainTextEdit::inputMethodEvent(&withoutCommit);
}

bool TextArea::canInsertFromMimeData(const QMimeData* source) const
{
    return CanStandInAFile(source->text()) && QPlainTextEdit::canInsertFromMimeData(source);
}

void TextArea::insertFromMimeData(const QMimeData* source)
{
    if (CanStandInAFile(source->text()))
        QPlainTextEdit::insertFromMimeData(source);
    else
        QApplication::beep();
}

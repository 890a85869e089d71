// CalcUi's dialogs for real, in a LibreOffice whose modal dialogs wait for an answer
// (run_with_dialog_office.py): each dialog is shown from a thread of its own while the test's
// thread finds it among the office's top windows, reads what it shows through accessibility (text,
// buttons, the default button, the input field and its selection, the icon's pixels; the title
// from the window) and answers it through the toolkit's robot: keys (Enter, Escape, typed text)
// or a mouse click on a button. Titles, texts, buttons, icons, default buttons, parents and
// answers are random. In the headless office of the other Calc tests the office cancels dialogs
// unseen; one test there checks what CalcUi answers then.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <com/sun/star/accessibility/AccessibleRole.hpp>
#include <com/sun/star/accessibility/AccessibleStateType.hpp>
#include <com/sun/star/accessibility/XAccessible.hpp>
#include <com/sun/star/accessibility/XAccessibleComponent.hpp>
#include <com/sun/star/accessibility/XAccessibleContext.hpp>
#include <com/sun/star/accessibility/XAccessibleStateSet.hpp>
#include <com/sun/star/accessibility/XAccessibleText.hpp>
#include <com/sun/star/awt/Key.hpp>
#include <com/sun/star/awt/KeyEvent.hpp>
#include <com/sun/star/awt/MessageBoxButtons.hpp>
#include <com/sun/star/awt/MessageBoxType.hpp>
#include <com/sun/star/awt/MouseButton.hpp>
#include <com/sun/star/awt/MouseEvent.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XBitmap.hpp>
#include <com/sun/star/awt/XDevice.hpp>
#include <com/sun/star/awt/XDialog.hpp>
#include <com/sun/star/awt/XMessageBox.hpp>
#include <com/sun/star/awt/XMessageBoxFactory.hpp>
#include <com/sun/star/awt/XToolkitRobot.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "calc/calc_ui.h"
#include "calc/uno_text.h"
#include "office_for_tests.h"

namespace tezlo {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
namespace a11y = css::accessibility;

bool DialogsWait() { return std::getenv("TEZLO_OFFICE_DIALOGS") != nullptr; }

Reference<css::awt::XToolkit2> Toolkit() {
  return css::awt::Toolkit::create(TestOffice().Context());
}

// What an open dialog shows, read through accessibility.
struct Shown {
  Reference<css::awt::XWindow> window;
  std::string title;
  std::string text;  // the message, or the input box's prompt, as accessibility reads it
  std::vector<std::string> buttons;
  std::vector<Reference<a11y::XAccessibleContext>> buttonContexts;
  std::vector<size_t> defaults;  // the buttons marked as the default one
  std::optional<std::string> field;
  sal_Int32 selectionStart = -1;
  sal_Int32 selectionEnd = -1;
  std::optional<std::vector<sal_Int8>> icon;  // the icon's pixels
};

// The open dialog (a visible top window that is an alert or a dialog); ends the program when none
// opens within a minute, since the thread that shows it could never be joined. The office's list
// of top windows is marked deprecated in its headers, yet it is the one way to find a window that
// another call opened without waiting for the open event.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
Reference<css::awt::XWindow> WaitForDialog(const Reference<css::awt::XToolkit2>& toolkit) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    for (sal_Int32 i = 0; i < toolkit->getTopWindowCount(); ++i) {
      Reference<css::awt::XTopWindow> top = toolkit->getTopWindow(i);
      Reference<css::awt::XWindow2> window(top, UNO_QUERY);
      Reference<a11y::XAccessible> accessible(top, UNO_QUERY);
      if (!window.is() || !accessible.is() || !window->isVisible()) continue;
      const sal_Int16 role = accessible->getAccessibleContext()->getAccessibleRole();
      if (role == a11y::AccessibleRole::ALERT || role == a11y::AccessibleRole::DIALOG) {
        return Reference<css::awt::XWindow>(window, UNO_QUERY_THROW);
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::fprintf(stderr, "no dialog opened in the office within a minute\n");
  std::_Exit(1);
}
#pragma GCC diagnostic pop

std::vector<sal_Int8> Pixels(const Reference<css::awt::XWindow>& window,
                             const Reference<a11y::XAccessibleContext>& part) {
  const css::awt::Rectangle box =
      Reference<a11y::XAccessibleComponent>(part, UNO_QUERY_THROW)->getBounds();
  const css::uno::Sequence<sal_Int8> dib = Reference<css::awt::XDevice>(window, UNO_QUERY_THROW)
                                               ->createBitmap(box.X, box.Y, box.Width, box.Height)
                                               ->getDIB();
  return std::vector<sal_Int8>(dib.begin(), dib.end());
}

Shown Read(const Reference<css::awt::XWindow>& window) {
  Shown shown;
  shown.window = window;
  Reference<a11y::XAccessibleContext> dialog =
      Reference<a11y::XAccessible>(window, UNO_QUERY_THROW)->getAccessibleContext();
  // The title as the window holds it: accessible names leave out "~", the accelerator mark.
  if (Reference<css::awt::XMessageBox> box{window, UNO_QUERY}; box.is()) {
    shown.title = ToUtf8(box->getCaptionText());
  } else if (Reference<css::awt::XDialog> other{window, UNO_QUERY}; other.is()) {
    shown.title = ToUtf8(other->getTitle());
  } else {
    shown.title = ToUtf8(dialog->getAccessibleName());
  }
  for (sal_Int64 i = 0; i < dialog->getAccessibleChildCount(); ++i) {
    Reference<a11y::XAccessibleContext> part =
        dialog->getAccessibleChild(static_cast<sal_Int32>(i))->getAccessibleContext();
    const sal_Int16 role = part->getAccessibleRole();
    Reference<a11y::XAccessibleStateSet> states = part->getAccessibleStateSet();
    if (role == a11y::AccessibleRole::PUSH_BUTTON) {
      if (states->contains(a11y::AccessibleStateType::DEFAULT)) {
        shown.defaults.push_back(shown.buttons.size());
      }
      shown.buttons.push_back(ToUtf8(part->getAccessibleName()));
      shown.buttonContexts.push_back(part);
    } else if (role == a11y::AccessibleRole::ICON) {
      shown.icon = Pixels(window, part);
    } else if (states->contains(a11y::AccessibleStateType::EDITABLE)) {
      Reference<a11y::XAccessibleText> text(part, UNO_QUERY_THROW);
      shown.field = ToUtf8(text->getText());
      shown.selectionStart = text->getSelectionStart();
      shown.selectionEnd = text->getSelectionEnd();
    } else if (Reference<a11y::XAccessibleText> text{part, UNO_QUERY}; text.is()) {
      shown.text += ToUtf8(text->getText());
    } else {
      shown.text += ToUtf8(part->getAccessibleName());
    }
  }
  return shown;
}

css::awt::KeyEvent KeyFor(const Shown& shown, sal_Int16 code, sal_Unicode character) {
  css::awt::KeyEvent key;
  key.Source = shown.window;
  key.KeyCode = code;
  key.KeyChar = character;
  return key;
}

// A key pressed and released in the dialog: the office hands it to the dialog's focused control.
// A focused button acts on Enter when the key is released; Escape closes the dialog when pressed,
// and then the release finds no window (the office refuses it as an invalid source).
void Key(const Shown& shown, sal_Int16 code) {
  Reference<css::awt::XToolkitRobot> robot(Toolkit(), UNO_QUERY_THROW);
  robot->keyPress(KeyFor(shown, code, 0));
  try {
    robot->keyRelease(KeyFor(shown, code, 0));
  } catch (const css::uno::RuntimeException&) {
    if (code != css::awt::Key::ESCAPE) throw;
  }
}

// Characters typed into the dialog's focused control, each key pressed and released.
void Type(const Shown& shown, const std::string& text) {
  Reference<css::awt::XToolkitRobot> robot(Toolkit(), UNO_QUERY_THROW);
  const OUString units = ToOUString(text);
  for (sal_Int32 i = 0; i < units.getLength(); ++i) {
    robot->keyPress(KeyFor(shown, 0, units[i]));
    robot->keyRelease(KeyFor(shown, 0, units[i]));
  }
}

// Clicks the button with the mouse (the toolkit's robot), in the middle of where accessibility
// says it is. (Its accessible action would press it too, but on the calling thread, in a race
// with the dialog closing that the office does not always survive.)
void Press(const Shown& shown, const std::string& button) {
  for (size_t i = 0; i < shown.buttons.size(); ++i) {
    if (shown.buttons[i] == button) {
      const css::awt::Rectangle box =
          Reference<a11y::XAccessibleComponent>(shown.buttonContexts[i], UNO_QUERY_THROW)
              ->getBounds();
      css::awt::MouseEvent click;
      click.Source = shown.window;
      click.Buttons = css::awt::MouseButton::LEFT;
      click.X = box.X + box.Width / 2;
      click.Y = box.Y + box.Height / 2;
      click.ClickCount = 1;
      Reference<css::awt::XToolkitRobot> robot(Toolkit(), UNO_QUERY_THROW);
      robot->mousePress(click);
      robot->mouseRelease(click);
      return;
    }
  }
  ADD_FAILURE() << "no button " << button << "; closing the dialog with Escape";
  Key(shown, css::awt::Key::ESCAPE);
}

// Shows a dialog on another thread (the call waits until it is answered) and hands the open dialog
// to `answer`; returns what the call returned.
template <typename ShowFn, typename AnswerFn>
auto WithOpenDialog(ShowFn show, AnswerFn answer) {
  auto result = std::async(std::launch::async, show);
  answer(Read(WaitForDialog(Toolkit())));
  if (result.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
    std::fprintf(stderr, "the dialog did not close within a minute of its answer\n");
    std::_Exit(1);
  }
  return result.get();
}

// The icon LibreOffice's own message box of each type shows.
std::map<Icon, std::vector<sal_Int8>> ReferenceIcons() {
  std::map<Icon, std::vector<sal_Int8>> icons;
  const std::pair<Icon, css::awt::MessageBoxType> types[] = {
      {Icon::Information, css::awt::MessageBoxType_INFOBOX},
      {Icon::Warning, css::awt::MessageBoxType_WARNINGBOX},
      {Icon::Critical, css::awt::MessageBoxType_ERRORBOX},
      {Icon::Question, css::awt::MessageBoxType_QUERYBOX}};
  for (const auto& [icon, type] : types) {
    Reference<css::awt::XMessageBoxFactory> factory(Toolkit(), UNO_QUERY_THROW);
    Reference<css::awt::XMessageBox> box =
        factory->createMessageBox({}, type, css::awt::MessageBoxButtons::BUTTONS_OK, "Reference",
                                  "Reference");
    WithOpenDialog([&] { return box->execute(); },
                   [&](const Shown& shown) {
                     EXPECT_TRUE(shown.icon.has_value());
                     if (shown.icon) icons[icon] = *shown.icon;
                     Key(shown, css::awt::Key::RETURN);
                   });
    Reference<css::lang::XComponent>(box, UNO_QUERY_THROW)->dispose();
  }
  return icons;
}

// A Calc document, closed at the end: its frame's window is the dialogs' parent. It stays hidden:
// an office built without a GUI cannot show a document's window (it ends when asked to).
class ParentDocument {
 public:
  ParentDocument() {
    Reference<css::frame::XComponentLoader> loader(TestOffice().Desktop(), UNO_QUERY_THROW);
    css::beans::PropertyValue hidden;
    hidden.Name = "Hidden";
    hidden.Value <<= true;
    model_.set(loader->loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                            css::uno::Sequence<css::beans::PropertyValue>(&hidden,
                                                                                          1)),
               UNO_QUERY_THROW);
  }
  ~ParentDocument() {
    try {
      Reference<css::util::XCloseable>(model_, UNO_QUERY_THROW)->close(true);
    } catch (const css::uno::Exception&) {
    }
  }
  ParentDocument(const ParentDocument&) = delete;
  ParentDocument& operator=(const ParentDocument&) = delete;

  Reference<css::awt::XWindowPeer> Window() const {
    return Reference<css::awt::XWindowPeer>(
        model_->getCurrentController()->getFrame()->getContainerWindow(), UNO_QUERY_THROW);
  }

 private:
  Reference<css::frame::XModel> model_;
};

// Texts as the tools' dialogs have them: Chinese and Latin words, quotes, digits, line breaks.
std::string RandomText(std::mt19937& rng, bool mayBeEmpty) {
  static const char* const kPieces[] = {
      "提示", "设置提示", "此列块底部存在非空单元格", "“+1”",  "Hello", "a b", "0123",
      "表，", "Tip",      "j13获取桌面文件列表",      "a~b &c"};
  std::string text;
  const int pieces = static_cast<int>(rng() % 5) + (mayBeEmpty ? 0 : 1);
  for (int i = 0; i < pieces; ++i) {
    if (i > 0 && rng() % 5 == 0) text += "\r\n";
    text += kPieces[rng() % std::size(kPieces)];
  }
  return text;
}

// A shown text as accessibility reads it: without "~", the accelerator mark ("~~" reads as "~"),
// although both dialogs are set to show every "~" (their texts are no labels with accelerators).
std::string AsRead(const std::string& text) {
  std::string read;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '~') {
      read += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '~') {
      read += text[++i];
    }
  }
  return read;
}

// The message as the office's message box shows it: each CR LF is one line break, which it keeps
// as LF (the input box's label keeps CR LF).
std::string AsShownMessage(std::string text) {
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
    text.erase(at, 1);
  }
  return AsRead(text);
}

// Text typed into the input box: digits, letters, blanks and Chinese characters.
std::string RandomTyping(std::mt19937& rng) {
  static const char* const kKeys[] = {"1", "2", "7", "a", "Z", " ", "行", "数", "-", "."};
  std::string text;
  const int keys = static_cast<int>(rng() % 6) + 1;
  for (int i = 0; i < keys; ++i) text += kKeys[rng() % std::size(kKeys)];
  return text;
}

// Runs a test's body, reporting what the office threw with its message.
template <typename Body>
void ReportingOfficeErrors(Body body) {
  try {
    body();
  } catch (const css::uno::Exception& e) {
    FAIL() << "LibreOffice threw: " << ToUtf8(e.Message);
  }
}

void CheckMessageBoxes() {
  const std::map<Icon, std::vector<sal_Int8>> icons = ReferenceIcons();
  ASSERT_EQ(icons.size(), 4u);
  ParentDocument document;
  const unsigned seed = std::random_device()();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  enum class Way { Enter, Escape, PressOk, PressCancel };
  for (int trial = 0; trial < 24; ++trial) {
    MessageBoxRequest request;
    request.text = RandomText(rng, false);
    request.title = rng() % 4 == 0 ? "" : RandomText(rng, false);
    request.buttons = rng() % 2 == 0 ? Buttons::Ok : Buttons::OkCancel;
    request.icon = static_cast<Icon>(rng() % 5);
    request.defaultButton = rng() % 2 == 0 ? DefaultButton::First : DefaultButton::Second;
    const bool okCancel = request.buttons == Buttons::OkCancel;
    const Way way = static_cast<Way>(rng() % (okCancel ? 4 : 3));
    const bool withParent = rng() % 2 == 0;
    SCOPED_TRACE("trial " + std::to_string(trial) + ": " + request.title + " / " + request.text);

    CalcUi ui(TestOffice().Context(),
              withParent ? document.Window() : Reference<css::awt::XWindowPeer>());
    const Answer answer = WithOpenDialog(
        [&] { return ui.MessageBox(request); },
        [&](const Shown& shown) {
          EXPECT_EQ(shown.title, request.title.empty() ? CalcUi::kDefaultTitle : request.title);
          EXPECT_EQ(shown.text, AsShownMessage(request.text));
          const std::vector<std::string> buttons =
              okCancel ? std::vector<std::string>{"OK", "Cancel"} : std::vector<std::string>{"OK"};
          EXPECT_EQ(shown.buttons, buttons);
          const size_t defaultButton =
              okCancel && request.defaultButton == DefaultButton::Second ? 1 : 0;
          EXPECT_EQ(shown.defaults, std::vector<size_t>{defaultButton});
          // The office's information box has no Cancel button: that question has no icon.
          if (request.icon == Icon::None || (request.icon == Icon::Information && okCancel)) {
            EXPECT_FALSE(shown.icon.has_value());
          } else {
            EXPECT_TRUE(shown.icon == icons.at(request.icon)) << "not the icon of its type";
          }
          switch (way) {
            case Way::Enter: Key(shown, css::awt::Key::RETURN); break;
            case Way::Escape: Key(shown, css::awt::Key::ESCAPE); break;
            case Way::PressOk: Press(shown, "OK"); break;
            case Way::PressCancel: Press(shown, "Cancel"); break;
          }
        });
    Answer expected = Answer::Ok;
    if (okCancel) {
      if (way == Way::Escape || way == Way::PressCancel) expected = Answer::Cancel;
      if (way == Way::Enter && request.defaultButton == DefaultButton::Second) {
        expected = Answer::Cancel;
      }
    }
    EXPECT_EQ(answer, expected) << "answered by way " << static_cast<int>(way);
  }
}

void CheckInputBoxes() {
  ParentDocument document;
  const unsigned seed = std::random_device()();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  enum class Way { Enter, Escape, PressOk, PressCancel, TypeThenEnter, TypeThenOk };
  for (int trial = 0; trial < 18; ++trial) {
    InputBoxRequest request;
    request.prompt = RandomText(rng, false);
    request.title = rng() % 4 == 0 ? "" : RandomText(rng, false);
    request.defaultValue = rng() % 3 == 0 ? "" : RandomTyping(rng);
    const Way way = static_cast<Way>(rng() % 6);
    const std::string typed = RandomTyping(rng);
    const bool withParent = rng() % 2 == 0;
    SCOPED_TRACE("trial " + std::to_string(trial) + ": " + request.title + " / " + request.prompt);

    CalcUi ui(TestOffice().Context(),
              withParent ? document.Window() : Reference<css::awt::XWindowPeer>());
    const std::optional<std::string> answer =
        WithOpenDialog([&] { return ui.InputBox(request); },
                       [&](const Shown& shown) {
                         EXPECT_EQ(shown.title, request.title.empty() ? CalcUi::kDefaultInputTitle
                                                                      : request.title);
                         EXPECT_EQ(shown.text, AsRead(request.prompt));
                         EXPECT_EQ(shown.buttons, (std::vector<std::string>{"OK", "Cancel"}));
                         EXPECT_EQ(shown.defaults, std::vector<size_t>{0});
                         EXPECT_EQ(shown.field, request.defaultValue);
                         EXPECT_EQ(shown.selectionStart, 0);
                         EXPECT_EQ(shown.selectionEnd,
                                   ToOUString(request.defaultValue).getLength());
                         switch (way) {
                           case Way::Enter: Key(shown, css::awt::Key::RETURN); break;
                           case Way::Escape: Key(shown, css::awt::Key::ESCAPE); break;
                           case Way::PressOk: Press(shown, "OK"); break;
                           case Way::PressCancel: Press(shown, "Cancel"); break;
                           case Way::TypeThenEnter:
                             Type(shown, typed);
                             Key(shown, css::awt::Key::RETURN);
                             break;
                           case Way::TypeThenOk:
                             Type(shown, typed);
                             // The typed keys are queued in the office; the button is pressed once
                             // they are in.
                             std::this_thread::sleep_for(std::chrono::milliseconds(300));
                             Press(shown, "OK");
                             break;
                         }
                       });
    std::optional<std::string> expected;
    if (way == Way::Enter || way == Way::PressOk) expected = request.defaultValue;
    if (way == Way::TypeThenEnter || way == Way::TypeThenOk) expected = typed;
    EXPECT_EQ(answer, expected) << "answered by way " << static_cast<int>(way);
  }
}

TEST(CalcUiDialogs, MessageBoxesShowTheRequestAndAnswerTheButtonPressed) {
  if (!DialogsWait()) GTEST_SKIP() << "the dialogs need run_with_dialog_office.py";
  ReportingOfficeErrors(CheckMessageBoxes);
}

TEST(CalcUiDialogs, InputBoxesShowTheValueSelectedAndAnswerTheText) {
  if (!DialogsWait()) GTEST_SKIP() << "the dialogs need run_with_dialog_office.py";
  ReportingOfficeErrors(CheckInputBoxes);
}

// In a headless office the dialogs are cancelled as soon as they open: an OK-only box still
// answers OK, a question answers Cancel and an input box nothing.
TEST(CalcUiHeadless, CancelledDialogsAnswerAsCancelled) {
  if (DialogsWait()) GTEST_SKIP() << "this office's dialogs wait for an answer";
  CalcUi ui(TestOffice().Context(), Reference<css::awt::XWindowPeer>());
  MessageBoxRequest notice;
  notice.text = "活动工作表是Sheet1";
  notice.icon = Icon::Information;
  EXPECT_EQ(ui.MessageBox(notice), Answer::Ok);
  MessageBoxRequest question;
  question.text = "要删除的区域有非空单元格";
  question.title = "提示";
  question.buttons = Buttons::OkCancel;
  EXPECT_EQ(ui.MessageBox(question), Answer::Cancel);
  InputBoxRequest input;
  input.prompt = "输入1";
  input.title = "提示";
  input.defaultValue = "1";
  EXPECT_EQ(ui.InputBox(input), std::nullopt);
}

}  // namespace
}  // namespace tezlo

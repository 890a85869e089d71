#include "extension/command_box_dialog.h"

#include <exception>
#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/Key.hpp>
#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/WindowAttribute.hpp>
#include <com/sun/star/awt/WindowDescriptor.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/awt/XKeyListener.hpp>
#include <com/sun/star/awt/XTextComponent.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XTopWindowListener.hpp>
#include <com/sun/star/awt/XWindowListener.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <cppuhelper/implbase1.hxx>
#include <cppuhelper/implbase3.hxx>

#include "calc/uno_text.h"

namespace tezlo::extension {

namespace uno = css::uno;
namespace awt = css::awt;

// The box's window events, handed to the box while it is open.
class CommandBoxDialog::Listener
    : public cppu::WeakImplHelper3<awt::XKeyListener, awt::XWindowListener,
                                   awt::XTopWindowListener> {
 public:
  explicit Listener(CommandBoxDialog& box) : box_(&box) {}
  void Detach() { box_ = nullptr; }

  void SAL_CALL keyPressed(const awt::KeyEvent& e) override {
    if (box_ == nullptr || e.KeyCode != awt::Key::RETURN) return;
    try {
      box_->events_.enter(box_->Text());
    } catch (const std::exception&) {
      // The command reports its own faults; nothing else may leave a window event.
    } catch (const uno::Exception&) {
    }
  }
  void SAL_CALL keyReleased(const awt::KeyEvent&) override {}
  void SAL_CALL windowResized(const awt::WindowEvent&) override {
    if (box_ != nullptr) box_->FitField();
  }
  void SAL_CALL windowMoved(const awt::WindowEvent&) override {}
  void SAL_CALL windowShown(const css::lang::EventObject&) override {}
  void SAL_CALL windowHidden(const css::lang::EventObject&) override {}
  // The window's own close (its system menu, Escape): the box closes as after a command.
  void SAL_CALL windowClosing(const css::lang::EventObject&) override {
    if (box_ != nullptr) box_->Close();
  }
  void SAL_CALL windowOpened(const css::lang::EventObject&) override {}
  void SAL_CALL windowClosed(const css::lang::EventObject&) override {}
  void SAL_CALL windowMinimized(const css::lang::EventObject&) override {}
  void SAL_CALL windowNormalized(const css::lang::EventObject&) override {}
  void SAL_CALL windowActivated(const css::lang::EventObject&) override {}
  void SAL_CALL windowDeactivated(const css::lang::EventObject&) override {}
  void SAL_CALL disposing(const css::lang::EventObject&) override {}

 private:
  CommandBoxDialog* box_;
};

namespace {

// Disposes a closed box's windows once the event that closed it has been handled: Enter closes
// the box from inside the field's own key handler.
class DisposeLater : public cppu::WeakImplHelper1<awt::XCallback> {
 public:
  explicit DisposeLater(uno::Reference<awt::XWindow> window) : window_(std::move(window)) {}
  void SAL_CALL notify(const uno::Any&) override {
    const uno::Reference<css::lang::XComponent> component(window_, uno::UNO_QUERY);
    if (component.is()) component->dispose();
  }

 private:
  uno::Reference<awt::XWindow> window_;
};

}  // namespace

CommandBoxDialog::CommandBoxDialog(uno::Reference<uno::XComponentContext> context, Events events)
    : context_(std::move(context)), events_(std::move(events)), ticker_(context_) {}

CommandBoxDialog::~CommandBoxDialog() {
  if (listener_.is()) listener_->Detach();
}

void CommandBoxDialog::Show(const uno::Reference<awt::XWindow>& over) {
  if (!box_.is()) Create(over);
  const uno::Reference<awt::XTopWindow> top(box_, uno::UNO_QUERY);
  if (top.is()) top->toFront();
  field_->setFocus();
}

void CommandBoxDialog::Create(const uno::Reference<awt::XWindow>& over) {
  const uno::Reference<awt::XToolkit2> toolkit = awt::Toolkit::create(context_);
  awt::WindowDescriptor box;
  box.Type = awt::WindowClass_TOP;
  box.WindowServiceName = "modelessdialog";
  box.ParentIndex = -1;
  box.Parent.set(over, uno::UNO_QUERY);
  // A child window's position is counted from its parent's: the middle of the document window.
  const awt::Rectangle parent = over.is() ? over->getPosSize() : awt::Rectangle();
  box.Bounds = awt::Rectangle((parent.Width - kWidthPixels) / 2,
                              (parent.Height - kHeightPixels) / 2, kWidthPixels, kHeightPixels);
  box.WindowAttributes = awt::WindowAttribute::BORDER | awt::WindowAttribute::SIZEABLE;
  box_.set(toolkit->createWindow(box), uno::UNO_QUERY_THROW);

  awt::WindowDescriptor field;
  field.Type = awt::WindowClass_SIMPLE;
  field.WindowServiceName = "edit";
  field.ParentIndex = -1;
  field.Parent.set(box_, uno::UNO_QUERY_THROW);
  field.Bounds = awt::Rectangle(0, 0, kWidthPixels, kHeightPixels);
  field.WindowAttributes = awt::WindowAttribute::SHOW;
  field_.set(toolkit->createWindow(field), uno::UNO_QUERY_THROW);

  listener_ = new Listener(*this);
  field_->addKeyListener(listener_.get());
  box_->addWindowListener(listener_.get());
  const uno::Reference<awt::XTopWindow> top(box_, uno::UNO_QUERY);
  if (top.is()) top->addTopWindowListener(listener_.get());
  box_->setVisible(true);
}

void CommandBoxDialog::FitField() {
  if (!box_.is() || !field_.is()) return;
  const awt::Rectangle size = box_->getPosSize();
  field_->setPosSize(0, 0, size.Width, size.Height, awt::PosSize::POSSIZE);
}

std::string CommandBoxDialog::Text() const {
  const uno::Reference<awt::XTextComponent> text(field_, uno::UNO_QUERY);
  return text.is() ? ToUtf8(text->getText()) : std::string();
}

void CommandBoxDialog::SetText(const std::string& text) {
  const uno::Reference<awt::XTextComponent> field(field_, uno::UNO_QUERY);
  if (field.is()) field->setText(ToOUString(text));
}

// A closed box has nothing to show the readout in (a command given by the automation entry).
void CommandBoxDialog::StartTimer(int32_t intervalMs) {
  if (box_.is()) ticker_.Start(intervalMs, events_.tick);
}

void CommandBoxDialog::StopTimer() { ticker_.Stop(); }

void CommandBoxDialog::Close() {
  if (!box_.is()) return;
  ticker_.Stop();
  listener_->Detach();
  listener_.clear();
  box_->setVisible(false);
  css::awt::AsyncCallback::create(context_)->addCallback(new DisposeLater(box_), uno::Any());
  box_.clear();
  field_.clear();
}

}  // namespace tezlo::extension

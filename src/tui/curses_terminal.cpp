#include "tui/curses_terminal.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>

#include <curses.h>

#include "tui/terminal_colors.h"

namespace tezlo {
namespace {

int resizePipe[2] = {-1, -1};

void OnResize(int) {
  const char byte = 1;
  if (resizePipe[1] >= 0) {
    const ssize_t ignored = write(resizePipe[1], &byte, 1);
    (void)ignored;
  }
}

// The basic colour nearest to an xterm 256-colour number, for 8-colour terminals.
short Basic(int color) {
  if (color < 0) return -1;
  if (color == 16 || color == 232 || color == 236) return COLOR_BLACK;
  if (color == 196) return COLOR_RED;
  if (color == 214 || color == 220) return COLOR_YELLOW;
  if (color == 25) return COLOR_BLUE;
  if (color == 153) return COLOR_CYAN;
  return COLOR_WHITE;
}

}  // namespace

CursesTerminal::CursesTerminal() {
  if (pipe(resizePipe) == 0) {
    fcntl(resizePipe[0], F_SETFL, O_NONBLOCK);
    fcntl(resizePipe[1], F_SETFL, O_NONBLOCK);
  }
  initscr();
  raw();
  noecho();
  nonl();
  keypad(stdscr, FALSE);
  if (has_colors()) {
    start_color();
    use_default_colors();
    colors256_ = COLORS >= 256;
  }
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = OnResize;
  sigaction(SIGWINCH, &action, nullptr);
  refresh();
  // Clicks in SGR encoding; ask whether pixel reports (mode 1016) are known.
  Send("\x1b[?1000h\x1b[?1006h\x1b[?1016$p");
}

CursesTerminal::~CursesTerminal() {
  Send("\x1b[?1003l\x1b[?1016l\x1b[?1006l\x1b[?1000l");
  endwin();
  if (resizePipe[0] >= 0) close(resizePipe[0]);
  if (resizePipe[1] >= 0) close(resizePipe[1]);
  resizePipe[0] = resizePipe[1] = -1;
}

void CursesTerminal::Send(const char* sequence) {
  fflush(stdout);
  const ssize_t ignored = write(STDOUT_FILENO, sequence, std::strlen(sequence));
  (void)ignored;
}

int CursesTerminal::Width() { return COLS; }
int CursesTerminal::Height() { return LINES; }

short CursesTerminal::PairFor(int fg, int bg) {
  if (!colors256_) {
    fg = Basic(fg);
    bg = Basic(bg);
  }
  const auto key = std::make_pair(fg, bg);
  if (auto it = pairs_.find(key); it != pairs_.end()) return it->second;
  if (static_cast<int>(pairs_.size()) + 1 >= COLOR_PAIRS) return 0;
  const short pair = static_cast<short>(pairs_.size() + 1);
  init_pair(pair, static_cast<short>(fg), static_cast<short>(bg));
  pairs_.emplace(key, pair);
  return pair;
}

void CursesTerminal::Present(const ScreenBuffer& screen, Caret caret) {
  const int height = std::min(screen.Height(), LINES);
  const int width = std::min(screen.Width(), COLS);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const ScreenCell& cell = screen.At(x, y);
      if (cell.width == 0) continue;
      if (cell.width == 2 && x + 1 >= width) continue;
      const ColorPair colors = ColorsFor(cell.attr);
      attr_t attrs = colors.bold ? A_BOLD : A_NORMAL;
      short pair = 0;
      if (has_colors()) {
        pair = PairFor(colors.fg, colors.bg);
      } else if (cell.attr.role != Role::Normal) {
        attrs |= A_REVERSE;
      }
      wchar_t text[2] = {static_cast<wchar_t>(cell.ch), L'\0'};
      cchar_t c;
      setcchar(&c, text, attrs, pair, nullptr);
      mvadd_wch(y, x, &c);
    }
  }
  if (caret.x >= 0 && caret.y >= 0 && caret.x < width && caret.y < height) {
    curs_set(1);
    move(caret.y, caret.x);
  } else {
    curs_set(0);
  }
  refresh();
}

void CursesTerminal::ApplyResize() {
  char drain[64];
  while (read(resizePipe[0], drain, sizeof drain) > 0) {
  }
  struct winsize size;
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    resizeterm(size.ws_row, size.ws_col);
  }
  clearok(stdscr, TRUE);
}

std::optional<KeyEvent> CursesTerminal::NextEvent(int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  while (!closed_) {
    if (std::optional<KeyEvent> e = decoder_.Next(false)) return e;
    int wait = -1;
    if (decoder_.Pending()) {
      wait = 30;  // the rest of an escape sequence comes at once, or it was the Escape key
    } else if (timeoutMs >= 0) {
      wait = static_cast<int>(std::max<int64_t>(
          0,
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count()));
    }
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {resizePipe[0], POLLIN, 0}};
    const int ready = poll(fds, resizePipe[0] >= 0 ? 2 : 1, wait);
    if (ready < 0) continue;  // a signal: the resize pipe tells which
    if (ready > 0 && (fds[1].revents & POLLIN) != 0) {
      ApplyResize();
      return KeyEvent::Of(Key::Resize);
    }
    if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      char buffer[512];
      const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
      if (n <= 0) {
        closed_ = true;
        return std::nullopt;
      }
      decoder_.Feed(std::string_view(buffer, static_cast<size_t>(n)));
      if (tracking_ && decoder_.PixelModeKnown()) {
        Send("\x1b[?1016h");
        decoder_.SetPixelReports(true);
      }
      continue;
    }
    if (decoder_.Pending()) {
      if (std::optional<KeyEvent> e = decoder_.Next(true)) return e;
      continue;
    }
    if (timeoutMs >= 0) return std::nullopt;
  }
  return std::nullopt;
}

void CursesTerminal::TrackPointer(bool on) {
  tracking_ = on;
  if (on) {
    Send("\x1b[?1003h");
    if (decoder_.PixelModeKnown()) {
      Send("\x1b[?1016h");
      decoder_.SetPixelReports(true);
    }
  } else {
    Send("\x1b[?1003l\x1b[?1016l");
    decoder_.SetPixelReports(false);
  }
}

}  // namespace tezlo

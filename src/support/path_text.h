#pragma once

// A path or command text in a fixed buffer of 260 characters and a
// terminator. Nothing ever writes past it: a longer source is cut on
// assignment, and an append that does not fit is refused, never cut.
class PathText {
 public:
  static const int kCapacity = 260;

  PathText();
  explicit PathText(const char* source);

  void Assign(const char* source);
  // False, with the text unchanged, when the result would exceed the capacity.
  bool Append(const char* text);
  bool EndsWithBackslash() const;
  // False when the backslash is missing afterwards (an empty or full text).
  bool EnsureTrailingBackslash();
  void DropTrailingBackslash();

  // The Windows directory, with a trailing backslash.
  void SetWindowsDirectory();
  // The user's documents folder with a trailing backslash, as an absolute
  // path that names exactly that folder. False, with an empty text, when the
  // system does not report it or it has no such ANSI path.
  bool SetDocumentsFolder();
  // The documents folder's subfolder "name\", created when missing (only that
  // level). False, with an empty text and nothing created, when there is no
  // documents folder as above or the name with its backslash does not fit.
  bool SetDocumentsSubfolder(const char* name);

  const char* Text() const { return text_; }
  int Length() const;

 private:
  char text_[kCapacity + 1];
};

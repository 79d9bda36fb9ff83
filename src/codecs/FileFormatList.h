#pragma once
// The format registry: the decoder classes by extension, in registration order, and the
// search for the decoder that recognises a file's content.
#include <string>
#include <string_view>
#include <vector>

#include "codecs/ImageDecoder.h"

namespace codecs {

// Format types of an extension.
enum TFormatType : unsigned { ftRaster = 1, ftVector = 2, ftMultiImage = 4, ftLayered = 8 };

class TFileFormatList {
 public:
  // The program's one registry, filled with its table on first use.
  static TFileFormatList& Instance();

  // An empty registry (tests); Instance() registers the program's table into one.
  TFileFormatList() = default;

  // Registers extension (without dot) for decoder. commonDescription names the class when
  // this is its first extension; description, when not empty, names the extension itself.
  // byContent marks the classes the content search may pick. An extension registered
  // twice raises Exception "Attempt to register %s twice.".
  void RegisterFileFormat(std::string_view extension, std::string_view commonDescription,
                          std::string_view description, unsigned types, const ImageDecoder& decoder,
                          bool byContent);
  // Removes an extension; its class goes when its last extension goes. Unknown: ignored.
  void UnregisterFileFormat(std::string_view extension);

  // The first content-search class, in registration order, that recognises the data.
  const ImageDecoder* FindDecoderByContent(Bytes data) const;
  // Extension with or without its dot, ASCII case ignored; null when not registered.
  const ImageDecoder* FindDecoderByExtension(std::string_view extension) const;
  // The extension's own description, or its class's common one; empty when unknown.
  std::string Description(std::string_view extension) const;
  unsigned Types(std::string_view extension) const;

  std::size_t ExtensionCount() const { return extensions_.size(); }
  std::size_t ClassCount() const { return classes_.size(); }
  // Number of extensions using decoder (0 when the class is not registered).
  int ClassUseCount(const ImageDecoder& decoder) const;

 private:
  struct ExtensionEntry {
    std::string extension;  // lower case, no dot
    std::string description;
    unsigned types;
    const ImageDecoder* decoder;
  };
  struct ClassEntry {
    const ImageDecoder* decoder;
    std::string description;
    int count;
    bool byContent;
  };
  const ExtensionEntry* Find(std::string_view extension) const;

  std::vector<ExtensionEntry> extensions_;
  std::vector<ClassEntry> classes_;
};

}  // namespace codecs

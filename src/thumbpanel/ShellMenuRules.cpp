#include "thumbpanel/ShellMenuRules.h"

#include <algorithm>

#include "base/Sjis.h"

namespace thumbpanel {

std::uint32_t VerbAttributeMask(std::string_view verb) {
  if (verb == "copy") return sfgao::CanCopy;
  if (verb == "cut" || verb == "delete") return sfgao::CanDelete;
  return 0;
}

bool VerbAllowed(std::string_view verb, std::uint32_t attributes, bool desktop) {
  const std::uint32_t mask = VerbAttributeMask(verb);
  if (mask == 0) return true;
  if (desktop && mask == sfgao::CanDelete) return true;
  return (attributes & mask) != 0;
}

std::uint32_t ContextMenuFlags(TContextMenuType type, bool readOnly) {
  static constexpr std::pair<TContextMenuTypeItem, std::uint32_t> kFlags[] = {
      {ictDefaultOnly, cmf::DefaultOnly}, {ictVerbsOnly, cmf::VerbsOnly},
      {ictExplore, cmf::Explore},         {ictNoverbs, cmf::NoVerbs},
      {ictNoDefault, cmf::NoDefault},     {ictIncludeStatic, cmf::IncludeStatic},
      {ictReserved, cmf::Reserved}};
  std::uint32_t flags = 0;
  for (const auto& [item, flag] : kFlags)
    if (type.Has(item)) flags |= flag;
  if (readOnly && type.Has(ictCanRename)) flags |= cmf::CanRename;
  return flags;
}

unsigned ShellMenuPosition(unsigned base, int shellMenuPos) {
  return std::min(base, static_cast<unsigned>(std::max(shellMenuPos, 0)));
}

TPanelMenuChoice ClassifyMenuCommand(unsigned command, unsigned base) {
  if (command == 0) return {};
  if (command <= base) return {TPanelMenuChoice::Owner, command};
  const unsigned offset = command - base - 1;
  if (offset == SkippedShellOffset || command > LastShellCommand) return {};
  return {TPanelMenuChoice::Shell, offset};
}

std::string MenuHintText(std::string_view text) {
  const std::string_view cut = base::CutAtCharBoundary(text, MenuHintLength);
  return cut.empty() ? std::string(" ") : std::string(cut);
}

}  // namespace thumbpanel

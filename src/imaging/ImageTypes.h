#pragma once
// What the loader classifies a file as, and how it sizes the result to a box.

namespace imaging {

// Kind of a file, in the loader's classification order of declaration.
enum TImageType : int {
  iitNone,
  iitSusie,
  iitBmp,
  iitJpeg,
  iitIco,
  iitCur,
  iitAni,
  iitEmf,
  iitWmf,
  iitExe,
  iitDll,
  iitHtml,
  iitTxt,
  iitEml,
  iitDir,
  iitCustom,
  iitAvi,
};

// Sizing mode of the loader.
enum TGetType : int {
  igtNormal,   // keep the loaded size
  igtPreview,  // shrink to fit the box keeping the aspect, never enlarge
  igtStretch,  // fit the box keeping the aspect, enlarging small pictures
  igtFit,      // stretch to exactly the box
};

}  // namespace imaging

#include "app/MainPanelSettings.h"

void ApplyMainPanelSettings(thumbpanel::TImgPanel& panel) {
  panel.SetHideSelection(false);
  panel.SetMultiSelect(true);
  panel.View.DispTypes.SetFolders(false);
  panel.View.IconSpacing.SetX(0);
  panel.View.IconSpacing.SetY(0);
  panel.ViewImage.ImgUtil.SetGetType(imaging::igtPreview);
  panel.ViewImage.SetImageWidth(32);
  panel.ViewImage.SetImageHeight(32);
  panel.ViewImage.SetBevelOuter(thumbpanel::bvSpace);
  panel.ViewImage.Frame.SetColor(thumbpanel::clSilver);
  panel.ViewImage.Frame.SetWidth(0);
  panel.ViewImage.SelectFrame.SetColor(thumbpanel::clBlue);
  panel.ViewImage.SelectFrame.SetWidth(1);
  panel.ViewImage.SmallIcon.SetIconPos(thumbpanel::iipNone);
  panel.ViewImage.SmallIcon.SetSpace(0);
  panel.ViewImage.SetLookAhead(true);
}

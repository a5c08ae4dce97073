// The maker's and the product's names as the programs spell them: in their
// version information (from which the screen saver makes its registry key
// at run time), in the titles of their message boxes, in the maker's
// settings key, and in the setup. Plain macros, so that the resource
// scripts and the setup's build read them from here too.
#pragma once

#define TESSALY_COMPANY_NAME "Quillmark Inc."
#define TESSALY_PRODUCT_NAME "Tessaly Customizable Screen Saver"

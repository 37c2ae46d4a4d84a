#pragma once

#include <com/sun/star/lang/XComponent.hpp>

// LibreOffice's web export writes a picture's title as its alt text and drops its
// description, while Word keeps a picture's alt text in the description. Before the
// export, every picture, shape and object with a description takes it as its title,
// in the loaded copy only.
void useDescriptionsAsAltText(const com::sun::star::uno::Reference<com::sun::star::lang::XComponent>& document);

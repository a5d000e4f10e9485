void fä() { ü = "ö"; }
	int tabbed;	// tab before comment
   
